// Tells the user when a number field does not take what was typed: a
// keystroke the field refuses (a comma, a letter, a digit that would leave
// the field's range) or a finished entry the field cannot keep (out of range,
// incomplete). The reason appears at once in a tooltip at the field, the
// field is framed red for a moment, and the reason stays in the field's
// tooltip until the user starts the next entry. Nothing changes the number
// silently.
#pragma once

#include <QString>

class QAbstractSpinBox;
class QWidget;

namespace tarvo {

// Watches one field; also makes it read numbers in the plain C forms only
// ('.' as decimal point, no thousands separators), whatever the system's
// language. A decimal field takes an exponent only when its property
// "takesExponent" is true.
void watchNumberEntry(QAbstractSpinBox* box);
// Watches every editable number field on a panel.
void watchNumberEntries(QWidget* panel);

// Tells the user at a field why an entry was not taken: a tooltip at the
// field now, a red frame for a moment (the field's property
// "tarvoEntryHighlighted" is true meanwhile), and the reason as the field's
// tooltip until the next entry starts. For fields the watch above does not cover,
// such as the cells of a table.
void showEntryNotice(QWidget* field, const QString& text);

// The last reason given on any field of the window the widget is in (empty
// when none yet); for tests and for fields that close when the entry ends,
// such as a table cell's editor.
QString lastEntryNotice(const QWidget* window);

// How long the red frame stays on the fields of this widget and those inside
// it (1.5 s unless set); tests shorten it.
void setEntryHighlightTime(QWidget* window, int milliseconds);

// Marks a field whose value was changed on the panel but not yet sent (or
// saved): a dashed frame, a shape and not a colour alone, until the mark is
// taken away. The field's property "tarvoUnsent" says whether it is marked.
void markUnsent(QWidget* field, bool unsent);
bool isMarkedUnsent(const QWidget* field);

// Adds (on) or takes away a style rule of the field's own kind of control
// ("QAbstractSpinBox { color: … }"), leaving the rest of its style as it is.
// The marks above and the entry's red frame are drawn over the field, apart
// from its style.
void setFieldStyle(QWidget* field, const QString& declarations, bool on);

}  // namespace tarvo
