#include "mouseactions.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QObject>
#include <QWidget>

namespace tarvo {

namespace {

class MouseAction final : public QObject {
public:
    MouseAction(QWidget* owner, QEvent::Type type, Qt::MouseButton button, std::function<void()> action)
        : QObject(owner)
        , m_type(type)
        , m_button(button)
        , m_action(std::move(action))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A tool on the control (a chart's export button) handles its own clicks.
        if (watched->property("chartTool").toBool())
            return false;
        if (event->type() == m_type && static_cast<QMouseEvent*>(event)->button() == m_button) {
            event->accept();
            m_action();
            return true;
        }
        if (m_button == Qt::RightButton && event->type() == QEvent::ContextMenu
            && static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Mouse)
            return true;
        return false;
    }

private:
    QEvent::Type m_type;
    Qt::MouseButton m_button;
    std::function<void()> m_action;
};

}  // namespace

void onMouse(QWidget* control, QEvent::Type type, Qt::MouseButton button, std::function<void()> action)
{
    if (!control)
        return;
    auto* filter = new MouseAction(control, type, button, std::move(action));
    control->installEventFilter(filter);
    for (QWidget* inside : control->findChildren<QWidget*>())
        inside->installEventFilter(filter);
}

}  // namespace tarvo
