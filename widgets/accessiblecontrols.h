// What screen readers are told about combo boxes and digit displays.
//
// Qt names a combo box by its current entry on Linux (it expects the name
// from the caption's relation) and gives a digit display's value only when
// the display has no name. With these, a combo box is named by its
// accessibleName from the panel file and tells its entry as its value, and a
// digit display tells the number it shows as its value and description.
#pragma once

namespace tarvo {

// Installs the interfaces for the whole application; a second one changes
// nothing. A control's interface is made at its first accessible event (a
// name set by its panel's setup), so this comes before any panel.
struct AccessibleControls {
    AccessibleControls();
};

}  // namespace tarvo
