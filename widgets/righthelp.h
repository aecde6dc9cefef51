// Right-click help: one table of control objectName -> {title, text} and one
// event filter for every panel. On an installed panel, a right mouse press on
// a listed control (or on any widget inside it, such as a table's viewport or
// a spin box's line edit) shows the text in a message box and is swallowed,
// together with the rest of that right click (release, double click, context
// menu). Other controls and other buttons behave as usual. Controls added to
// the panel later are covered too.
//
// Every listed control also shows its text as its tooltip (and so as its
// description to screen readers). A text that sends the reader to the
// manual offers, in the same box, to open the user guide at its topic.
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
        QString guideTopic;  // page of the user guide, with its #anchor; empty: none
    };

    // Adds or replaces the help of one control.
    void add(const QString& control, const QString& text, const QString& title = QStringLiteral("INFO!"));
    // The part of the user guide the control's help box offers to open.
    void setGuideTopic(const QString& control, const QString& topic);
    const Entry* entry(const QString& control) const;
    // Covers the panel and everything inside it, until it is destroyed.
    void install(QWidget* panel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const Entry* entryFor(QWidget* widget) const;
    void giveToolTips(QWidget* panel) const;
    void giveToolTip(QWidget* control) const;

    QHash<QString, Entry> m_entries;
    QSet<const QObject*> m_panels;
    bool m_filtering = false;
};

}  // namespace tarvo
