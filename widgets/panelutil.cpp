#include "panelutil.h"

#include <QWidget>

namespace tarvo {

void setVisibleWithCaption(QWidget* control, bool visible)
{
    if (!control)
        return;
    control->setVisible(visible);
    if (QWidget* panel = control->window())
        if (auto* caption = panel->findChild<QWidget*>(QStringLiteral("Label") + control->objectName()))
            caption->setVisible(visible);
}

} // namespace tarvo
