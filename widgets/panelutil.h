// Small helpers for controls on panels.
#pragma once

class QWidget;

namespace tarvo {

// Shows or hides a control together with its caption, the label named
// "Label" + the control's objectName on the same panel.
void setVisibleWithCaption(QWidget* control, bool visible);

} // namespace tarvo
