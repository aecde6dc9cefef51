#include "accessiblecontrols.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLCDNumber>
#include <QLineEdit>

namespace tarvo {

namespace {

class ComboBoxAccessible final : public QAccessibleWidget {
public:
    explicit ComboBoxAccessible(QComboBox* box)
        : QAccessibleWidget(box, QAccessible::ComboBox)
    {
        addControllingSignal(QStringLiteral("currentIndexChanged(int)"));
    }

    QString text(QAccessible::Text t) const override
    {
        QString entry = box()->isEditable() ? box()->lineEdit()->text() : box()->currentText();
        if (t == QAccessible::Value)
            return entry;
        if (t == QAccessible::Name && box()->accessibleName().isEmpty())
            return entry;
        return QAccessibleWidget::text(t);
    }

    // The drop-down list, and the line edit of an editable box.
    int childCount() const override { return box()->isEditable() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(box()->view());
        if (index == 1 && box()->isEditable())
            return QAccessible::queryAccessibleInterface(box()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (child && child->object() == box()->view())
            return 0;
        if (child && box()->isEditable() && child->object() == box()->lineEdit())
            return 1;
        return -1;
    }

    QStringList actionNames() const override
    {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (action == showMenuAction() || action == pressAction())
            box()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

class DigitDisplayAccessible final : public QAccessibleWidget {
public:
    explicit DigitDisplayAccessible(QLCDNumber* display)
        : QAccessibleWidget(display, QAccessible::StaticText)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        const auto* d = static_cast<const QLCDNumber*>(widget());
        QString shown = QString::number(d->value());
        if (t == QAccessible::Value || (t == QAccessible::Name && d->accessibleName().isEmpty()))
            return shown;
        if (t == QAccessible::Description && d->accessibleDescription().isEmpty())
            return shown;
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* controlsFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("QComboBox"))
        if (auto* box = qobject_cast<QComboBox*>(object))
            return new ComboBoxAccessible(box);
    if (className == QLatin1String("QLCDNumber"))
        if (auto* display = qobject_cast<QLCDNumber*>(object))
            return new DigitDisplayAccessible(display);
    return nullptr;
}

}  // namespace

AccessibleControls::AccessibleControls()
{
    QAccessible::removeFactory(controlsFactory);
    QAccessible::installFactory(controlsFactory);
}

}  // namespace tarvo
