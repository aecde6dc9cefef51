// Right-click help: one table of control objectName -> {title, text} and one
// event filter for every panel. On an installed panel, a right mouse press on
// a listed control (or on any widget inside it, such as a table's viewport or
// a spin box's line edit) shows the text in a message box and is swallowed,
// together with the rest of that right click (release, double click, context
// menu). Other controls and other buttons behave as usual. Controls added to
// the panel later are covered too.
#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

class QWidget;

namespace tarvo {

class RightClickHelp final : public QObject {
    Q_OBJECT
public:
    struct Entry {
        QString title;
        QString text;
    };

    // Adds or replaces the help of one control.
    void add(const QString& control, const QString& text, const QString& title = QStringLiteral("INFO!"));
    const Entry* entry(const QString& control) const;
    // Covers the panel and everything inside it, until it is destroyed.
    void install(QWidget* panel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const Entry* entryFor(QWidget* widget) const;

    QHash<QString, Entry> m_entries;
    QSet<const QObject*> m_panels;
    bool m_filtering = false;
};

} // namespace tarvo
