// Editable combo box with a drop-down history, built around an existing
// QLineEdit. The line edit stays the field the user types into and the handle
// by which the combo box is addressed; Combo_NewComboBox adds, in the field's
// parent, a square list button directly left of the field and a frame around
// both, and keeps them glued to the field when it moves, resizes, hides or is
// dimmed (so a layout may go on placing the field; it must leave room on the
// field's left for the button, which is as wide as the field is high).
//
// Typing completes the text from the list: the first item (in list order)
// that starts with the typed text, compared case-insensitively, supplies the
// rest, which is selected so that further typing replaces it. Items of one
// character never complete. Backspace or Delete switch completion off until
// the next other key, in every combo box of the program.
//
// Keys in the field: Up/Down open the list; Shift+Tab skips back over the
// list button to the previous control (wrapping to the end of the tab order).
// Picking an item copies it into the field, cut to the maximum entry length.
//
// Everything runs on the GUI thread, so the record needs no lock.
#pragma once

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>

class QKeyEvent;

namespace tarvo {

// Error codes of the Combo_ functions (success is >= 0).
inline constexpr int ComboErrNotComboBox = -45;   // not a combo box, already one, or no usable line edit
inline constexpr int ComboErrBadAttribute = -46;  // attribute outside 1..14, or 1/6 when setting
inline constexpr int ComboErrOutOfMemory = -12;
inline constexpr int ComboErrOutOfRange = -14;  // list index, count or attribute value not usable

// Attribute numbers and their QVariant value types.
//   Get reads 1, 2, 10..13 from the frame, 3..9 and 14 from the field.
enum ComboAttribute {
    ComboHeight = 1,          // int, frame height; read only
    ComboWidth = 2,           // int, frame width; the field gets width - button - 2
    ComboTextColour = 3,      // int 0xRRGGBB, field text
    ComboFrameColour = 4,     // int 0xRRGGBB, field (palette Window), list button, frame line
    ComboTextFont = 5,        // set: QString family, or QFont (taken whole); get: QString family
    ComboTextBold = 6,        // bool; read only
    ComboTextPointSize = 7,   // int, field and list
    ComboTextItalic = 8,      // bool, field and list
    ComboTextUnderline = 9,   // bool, field and list
    ComboLeft = 10,           // int, frame left; button at +1, field right of the button
    ComboTop = 11,            // int, frame top; button and field at +1
    ComboVisible = 12,        // bool, field, list and frame
    ComboDimmed = 13,         // bool, field, list and frame
    ComboMaxEntryLength = 14  // int, field's maximum entry length; -1 = unlimited
};
// Inside a layout the layout owns the field's geometry, so 2, 10 and 11 only
// last until it next lays out the field.

// The record of one combo box; a child of the field. Qt signals stand in for
// the events the field's user would otherwise receive.
class ComboBox final : public QObject {
    Q_OBJECT
public:
    // Sees every key press in the field after the combo box has acted on it;
    // returning true swallows the key (it does not reach the field).
    using KeyHandler = std::function<bool(const QKeyEvent&)>;

    QLineEdit* field() const { return m_field; }
    QComboBox* list() const { return m_list; }
    QFrame* frame() const { return m_frame; }
    void setKeyHandler(KeyHandler handler) { m_keyHandler = std::move(handler); }

    int setAttribute(int attribute, const QVariant& value);
    int attribute(int attribute, QVariant* value) const;

signals:
    // Enter in the field, the field losing the focus after the user edited
    // it, or an item picked from the list.
    void committed();
    // The user changed the field's text (after any completion), or picked a
    // different list item.
    void valueChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend int Combo_NewComboBox(QLineEdit* field);
    ComboBox(QLineEdit* field, QComboBox* list, QFrame* frame);

    bool fieldKeyPress(QKeyEvent* event);
    void textEdited(const QString& text);
    void complete(const QString& typed);
    void picked(int index);
    void focusBeforeCombo();
    void follow();          // places button and frame around the field
    void fitToFont();       // field, button and frame to the field's new height
    int maxLength() const;  // -1 when unlimited

    QLineEdit* m_field;
    QPointer<QComboBox> m_list;
    QPointer<QFrame> m_frame;
    KeyHandler m_keyHandler;
    bool m_openedByKey = false;  // list got the focus from Up/Down: keep it there
    bool m_edited = false;       // typed into since the last commit
};

// Turns the line edit into a combo box. 0 on success.
int Combo_NewComboBox(QLineEdit* field);
// Deletes list, frame, field and record. Not from inside the combo box's own signals.
int Combo_DiscardComboBox(QLineEdit* field);
// index -1 appends.
int Combo_InsertComboItem(QLineEdit* field, int index, const QString& text);
// count -1 deletes from index to the end.
int Combo_DeleteComboItem(QLineEdit* field, int index, int count);
int Combo_ReplaceComboItem(QLineEdit* field, int index, const QString& text);
// *index = position of the item whose text equals text exactly, or -1.
int Combo_GetIndexFromValue(QLineEdit* field, int* index, const QString& text);
int Combo_SetComboAttribute(QLineEdit* field, int attribute, const QVariant& value);
int Combo_GetComboAttribute(QLineEdit* field, int attribute, QVariant* value);

// The record, or nullptr when the line edit is not a combo box.
ComboBox* Combo_Record(const QLineEdit* field);
// The list control (to count and read the items), or nullptr.
QComboBox* Combo_ListControl(const QLineEdit* field);

}  // namespace tarvo
