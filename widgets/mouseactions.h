// Mouse actions on controls: run a function when a given mouse event of a
// given button reaches a control or a widget inside it (a spin box's line
// edit, a chart's viewport, the controls on a panel).
#pragma once

#include <QEvent>
#include <Qt>
#include <functional>

class QWidget;

namespace tarvo {

// type is QEvent::MouseButtonPress or QEvent::MouseButtonDblClick. The event
// is consumed; for the right button the context menu that follows is too.
// Covers the widgets inside the control at the time of the call.
void onMouse(QWidget* control, QEvent::Type type, Qt::MouseButton button, std::function<void()> action);

}  // namespace tarvo
