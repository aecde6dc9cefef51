#include "connectionboxes.h"

#include "connection.h"
#include "dialogs.h"

#include <QApplication>
#include <QStringList>

namespace tarvo {

void showConnectionBoxes(Connection& connection)
{
    QObject::connect(&connection, &Connection::message, &connection,
                     [](const QString& title, const QString& text) { dialogs().message(title, text); });
    QObject::connect(&connection, &Connection::waitCursor, &connection, [](bool on) {
        if (on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
    QObject::connect(&connection, &Connection::transfersDropped, &connection,
                     [](const std::vector<TransferKind>& kinds) {
                         QStringList names;
                         for (const TransferKind kind : kinds)
                             names << transferButton(kind);
                         dialogs().message(QStringLiteral("ATTENTION!"), notCarriedOutText(names));
                     });
}

}  // namespace tarvo
