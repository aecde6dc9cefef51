#include "righthelp.h"

#include "dialogs.h"
#include "userguide.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

namespace tarvo {

void RightClickHelp::add(const QString& control, const QString& text, const QString& title)
{
    m_entries.insert(control, Entry{.title = title, .text = text, .guideTopic = QString()});
}

void RightClickHelp::setGuideTopic(const QString& control, const QString& topic)
{
    auto it = m_entries.find(control);
    if (it != m_entries.end())
        it->guideTopic = topic;
}

const RightClickHelp::Entry* RightClickHelp::entry(const QString& control) const
{
    auto it = m_entries.constFind(control);
    return it == m_entries.constEnd() ? nullptr : &it.value();
}

void RightClickHelp::install(QWidget* panel)
{
    if (!panel || m_panels.contains(panel))
        return;
    m_panels.insert(panel);
    giveToolTips(panel);
    connect(panel, &QObject::destroyed, this, [this](QObject* gone) { m_panels.remove(gone); });
    // Watching the application (rather than each widget) also covers
    // controls created later; non-right-button events leave after one test.
    if (!m_filtering && qApp) {
        qApp->installEventFilter(this);
        m_filtering = true;
    }
}

const RightClickHelp::Entry* RightClickHelp::entryFor(QWidget* widget) const
{
    // The nearest listed widget on the way up, if the way reaches an installed panel.
    const Entry* found = nullptr;
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (!found)
            found = entry(w->objectName());
        if (m_panels.contains(w))
            return found;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

void RightClickHelp::giveToolTips(QWidget* panel) const
{
    // The help text is the tooltip, also where the panel had a shorter one,
    // and what a screen reader describes the control by (a table does not
    // fall back to its tooltip, and a panel's own description could go stale).
    for (QWidget* w : panel->findChildren<QWidget*>())
        if (const Entry* e = entry(w->objectName())) {
            w->setToolTip(e->text.trimmed());
            w->setAccessibleDescription(e->text.trimmed());
        }
}

void RightClickHelp::giveToolTip(QWidget* control) const
{
    if (control->toolTip().isEmpty() && !m_panels.contains(control))
        if (const Entry* e = entry(control->objectName())) {
            control->setToolTip(e->text.trimmed());
            if (control->accessibleDescription().isEmpty())
                control->setAccessibleDescription(e->text.trimmed());
        }
}

bool RightClickHelp::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Polish:         // a control created after its panel was installed
    case QEvent::ToolTipChange:  // a tooltip of the moment was taken away again
        if (watched->isWidgetType() && !m_panels.isEmpty() && entryFor(static_cast<QWidget*>(watched)))
            giveToolTip(static_cast<QWidget*>(watched));
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::RightButton)
            return false;
        break;
    case QEvent::ContextMenu:
        if (static_cast<QContextMenuEvent*>(event)->reason() != QContextMenuEvent::Mouse)
            return false;
        break;
    default: return false;
    }
    if (!watched->isWidgetType() || m_panels.isEmpty())
        return false;
    const Entry* help = entryFor(static_cast<QWidget*>(watched));
    if (!help)
        return false;

    event->accept();
    if (event->type() == QEvent::MouseButtonPress) {
        const Entry shown = *help;  // the box runs its own event loop
        if (shown.guideTopic.isEmpty())
            dialogs().message(shown.title, shown.text);
        else if (dialogs().offer(shown.title, shown.text, QCoreApplication::translate("Help", "Open the user guide")))
            openUserGuide(shown.guideTopic);
    }
    return true;
}

}  // namespace tarvo
