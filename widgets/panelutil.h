// Small helpers for controls on panels.
#pragma once

#include <QString>

class QAbstractButton;
class QComboBox;
class QWidget;

namespace tarvo {

// A number as a display shows it: the language's decimal separator (0,075
// in German), no group separators; QString::number's format and precision.
// Files keep the point: they never take their numbers from here.
QString shownNumber(double value, char format, int precision);

// Shows or hides a control together with its caption, the label named
// "Label" + the control's objectName on the same panel.
void setVisibleWithCaption(QWidget* control, bool visible);

// Shows whether a button of a one-of-several choice is the one chosen by
// more than its shade, which some themes make faint: a check mark before its
// text and a bold font while it is checked.
void showCheckedState(QAbstractButton* button);

// Takes what the user typed but has not yet confirmed (no Enter, no Tab) on
// the panel: the text of every number field becomes its value, and an open
// table-cell editor writes its cell and closes. Called before a panel is read
// for a transfer, so that what is shown is what is sent.
void commitPendingEdits(QWidget* panel);

// A ring's value: the value its chosen entry stands for, which is the entry's
// position unless the entry says otherwise; an empty selection reads as 0.
int ringValue(const QComboBox* ring);
// Chooses the entry of a value. A value the ring does not list (a sensor or
// file can hold any) gets an extra entry "other (N)" that keeps it, so that
// reading the ring gives it back; such entries go when another value is set.
void setRingValue(QComboBox* ring, int value);
// Chooses entry `index` and lets it stand for `value` (a ring whose entry
// covers several codes, e.g. "any value but 0").
void setRingEntry(QComboBox* ring, int index, int value);
// The text of the entry that stands for a value, as the ring shows it;
// empty when no entry lists the value (an "other (N)" entry does not count).
QString ringText(const QComboBox* ring, int value);

}  // namespace tarvo
