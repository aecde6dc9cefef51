#include "combobox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <algorithm>
#include <memory>
#include <new>

namespace tarvo {

namespace {

// Shared by every combo box: may the next text change be completed?
// Key presses in any field set or clear it.
bool completeOnChange = false;

// QLineEdit's own maximum length, which stands for "no limit".
constexpr int UnlimitedLength = 32767;

int rgbOf(const QColor& colour)
{
    return int(colour.rgb() & 0xFFFFFF);
}
QColor colourOf(int rgb)
{
    return QColor::fromRgb(QRgb(rgb));
}

// The list control: a combo box without edit, drawn as a bare arrow button.
// It remembers its selection before each user interaction so that a pick can
// tell whether it changed the selection.
class ListButton final : public QComboBox {
public:
    ListButton(QWidget* parent, QFrame* span)
        : QComboBox(parent)
        , m_span(span)
    {
    }

    int indexBeforeUser = -1;

    void showPopup() override
    {
        indexBeforeUser = currentIndex();
        QComboBox::showPopup();
        // The popup drops down below the whole combo box, not just the button
        // (or opens above it when the screen ends below).
        QWidget* popup = view()->window();
        if (!m_span || !popup->isVisible())
            return;
        if (popup->width() < m_span->width())
            popup->resize(m_span->width(), popup->height());
        QPoint at = m_span->mapToGlobal(QPoint(0, m_span->height()));
        if (const QScreen* s = screen(); s && at.y() + popup->height() > s->availableGeometry().bottom())
            at.setY(m_span->mapToGlobal(QPoint(0, 0)).y() - popup->height());
        popup->move(at);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.currentText.clear();
        option.currentIcon = QIcon();
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        indexBeforeUser = currentIndex();
        QComboBox::keyPressEvent(event);
    }
    void wheelEvent(QWheelEvent* event) override
    {
        indexBeforeUser = currentIndex();
        QComboBox::wheelEvent(event);
    }

private:
    QPointer<QFrame> m_span;
};

// The nearest widget before w in the focus chain that can take focus at all.
QWidget* previousFocusable(QWidget* w)
{
    for (QWidget* p = w->previousInFocusChain(); p && p != w; p = p->previousInFocusChain()) {
        if (p->focusPolicy() != Qt::NoFocus && !p->isWindow())
            return p;
    }
    return nullptr;
}

// Reads an int (bools count as 0/1); false when the value is not a number.
bool intValue(const QVariant& value, int* out)
{
    bool ok = false;
    *out = value.toInt(&ok);
    return ok;
}

}  // namespace

ComboBox::ComboBox(QLineEdit* field, QComboBox* list, QFrame* frame)
    : QObject(field)
    , m_field(field)
    , m_list(list)
    , m_frame(frame)
{
    connect(field, &QLineEdit::textEdited, this, &ComboBox::textEdited);
    connect(field, &QLineEdit::returnPressed, this, [this] {
        m_edited = false;
        emit committed();
    });
    connect(list, &QComboBox::activated, this, &ComboBox::picked);
    field->installEventFilter(this);
    list->installEventFilter(this);
}

int ComboBox::maxLength() const
{
    const int n = m_field->maxLength();
    return n >= UnlimitedLength ? -1 : n;
}

void ComboBox::follow()
{
    if (!m_list || !m_frame)
        return;
    const QRect f = m_field->geometry();
    const int side = f.height();
    m_list->setGeometry(f.x() - side, f.y(), side, side);
    m_frame->setGeometry(f.x() - side - 1, f.y() - 1, f.width() + side + 2, side + 2);
}

void ComboBox::fitToFont()
{
    // The frame keeps its left edge; the button grows to the new height and
    // the field moves right of it.
    const int left = m_frame->x();
    const int side = m_field->sizeHint().height();
    m_field->setGeometry(left + 1 + side, m_field->y(), m_field->width(), side);
    follow();
}

void ComboBox::textEdited(const QString& text)
{
    m_edited = true;
    if (completeOnChange)
        complete(text);
    emit valueChanged();
}

void ComboBox::complete(const QString& typed)
{
    const QString upper = typed.toUpper();
    QString match;
    bool found = false;
    for (int i = 0; i < m_list->count() && !found; ++i) {
        const QString item = m_list->itemText(i);
        if (item.toUpper().startsWith(upper)) {
            match = item;
            found = true;
        }
    }
    if (!found || match.size() <= 1)
        return;

    QString full = typed + match.mid(typed.size());
    const int max = maxLength();
    if (max >= 0 && full.size() > max)
        full.truncate(max);
    const int added = std::max(0, int(full.size() - typed.size()));
    m_field->setText(full);
    m_field->setSelection(static_cast<int>(typed.size()), added);
}

void ComboBox::picked(int index)
{
    auto* button = static_cast<ListButton*>(m_list.data());
    const bool changed = index != button->indexBeforeUser;
    button->indexBeforeUser = index;

    m_field->setFocus(Qt::OtherFocusReason);
    if (changed)
        emit valueChanged();

    QString text = m_list->itemText(index);
    const int max = maxLength();
    if (max >= 0 && text.size() > max)
        text.truncate(max);
    m_field->setText(text);
    m_edited = false;
    emit committed();
}

void ComboBox::focusBeforeCombo()
{
    // Walk back from the button (the combo box's place in the tab order);
    // the chain is circular, so from its start this wraps to the end.
    QWidget* window = m_field->window();
    QWidget* start = m_list ? static_cast<QWidget*>(m_list) : m_field;
    for (QWidget* w = start->previousInFocusChain(); w && w != start; w = w->previousInFocusChain()) {
        if (w == m_field || w == m_frame || w->window() != window)
            continue;
        if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy())
            continue;
        if (!w->isVisibleTo(window) || !w->isEnabled())
            continue;
        w->setFocus(Qt::BacktabFocusReason);
        return;
    }
}

bool ComboBox::fieldKeyPress(QKeyEvent* event)
{
    bool handled = false;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (m_list && m_list->isEnabled() && m_list->count() > 0) {
            m_openedByKey = true;
            m_list->setFocus(Qt::OtherFocusReason);
            m_list->showPopup();
        }
        handled = true;
        break;
    case Qt::Key_Backtab:
        focusBeforeCombo();
        handled = true;
        break;
    case Qt::Key_Tab:
        if (shift) {
            focusBeforeCombo();
            handled = true;
        } else {
            completeOnChange = true;
        }
        break;
    case Qt::Key_Backspace:
    case Qt::Key_Delete: completeOnChange = false; break;
    default: completeOnChange = true; break;
    }
    if (m_keyHandler && m_keyHandler(*event))
        return true;
    return handled;
}

bool ComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_field) {
        switch (event->type()) {
        case QEvent::KeyPress: return fieldKeyPress(static_cast<QKeyEvent*>(event));
        case QEvent::FocusOut: {
            // Leaving for the own list button or a popup is not leaving the combo box.
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (m_edited && reason != Qt::PopupFocusReason && QApplication::focusWidget() != m_list) {
                m_edited = false;
                emit committed();
            }
            break;
        }
        case QEvent::Move:
        case QEvent::Resize: follow(); break;
        case QEvent::ShowToParent:
        case QEvent::HideToParent:
            if (m_list)
                m_list->setVisible(!m_field->isHidden());
            if (m_frame)
                m_frame->setVisible(!m_field->isHidden());
            break;
        case QEvent::EnabledChange: {
            const bool enabled = m_field->isEnabledTo(m_field->parentWidget());
            if (m_list)
                m_list->setEnabled(enabled);
            if (m_frame)
                m_frame->setEnabled(enabled);
            break;
        }
        default: break;
        }
        return false;
    }
    if (watched == m_list && event->type() == QEvent::FocusIn) {
        // The button only keeps the focus when Up/Down sent it there;
        // tabbing or clicking onto it lands in the field. Focus coming back
        // from its own popup is no new arrival.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::PopupFocusReason)
            return false;
        if (m_openedByKey) {
            m_openedByKey = false;
            return false;
        }
        m_field->setFocus(reason);
        return true;
    }
    return false;
}

int ComboBox::setAttribute(int attribute, const QVariant& value)
{
    if (attribute < ComboHeight || attribute > ComboMaxEntryLength || attribute == ComboHeight
        || attribute == ComboTextBold)
        return ComboErrBadAttribute;

    int n = 0;
    const bool isNumber = intValue(value, &n);
    const bool needsNumber = attribute != ComboTextFont;
    if (needsNumber && !isNumber)
        return ComboErrOutOfRange;

    const int side = m_field->height();
    auto applyFont = [this](auto change) {
        for (QWidget* w : {static_cast<QWidget*>(m_field), static_cast<QWidget*>(m_list.data())}) {
            QFont f = w->font();
            change(f);
            w->setFont(f);
        }
    };
    auto setColour = [](QWidget* w, QPalette::ColorRole role, const QColor& c) {
        QPalette p = w->palette();
        p.setColor(role, c);
        w->setPalette(p);
    };

    switch (attribute) {
    case ComboWidth: m_field->resize(std::max(0, n - side - 2), side); break;
    case ComboTextColour: setColour(m_field, QPalette::Text, colourOf(n)); break;
    case ComboFrameColour:
        setColour(m_field, QPalette::Window, colourOf(n));
        setColour(m_list, QPalette::Button, colourOf(n));
        setColour(m_frame, QPalette::WindowText, colourOf(n));
        break;
    case ComboTextFont:
        if (value.typeId() == QMetaType::QFont) {
            const QFont font = value.value<QFont>();
            applyFont([&](QFont& f) { f = font; });
        } else if (value.canConvert<QString>() && !value.toString().isEmpty()) {
            const QString family = value.toString();
            applyFont([&](QFont& f) { f.setFamily(family); });
        } else {
            return ComboErrOutOfRange;
        }
        fitToFont();
        break;
    case ComboTextPointSize:
        if (n <= 0)
            return ComboErrOutOfRange;
        applyFont([&](QFont& f) { f.setPointSize(n); });
        fitToFont();
        break;
    case ComboTextItalic: applyFont([&](QFont& f) { f.setItalic(n != 0); }); break;
    case ComboTextUnderline: applyFont([&](QFont& f) { f.setUnderline(n != 0); }); break;
    case ComboLeft: m_field->move(n + 1 + side, m_field->y()); break;
    case ComboTop: m_field->move(m_field->x(), n + 1); break;
    case ComboVisible:
        m_field->setVisible(n != 0);
        m_list->setVisible(n != 0);
        m_frame->setVisible(n != 0);
        break;
    case ComboDimmed:
        m_field->setEnabled(n == 0);
        m_list->setEnabled(n == 0);
        m_frame->setEnabled(n == 0);
        break;
    case ComboMaxEntryLength: m_field->setMaxLength(n < 0 ? UnlimitedLength : n); break;
    }
    follow();  // the field's Move/Resize events wait while it is not shown
    return 0;
}

int ComboBox::attribute(int attribute, QVariant* value) const
{
    if (attribute < ComboHeight || attribute > ComboMaxEntryLength)
        return ComboErrBadAttribute;
    if (!value)
        return 0;
    const QFont font = m_field->font();
    switch (attribute) {
    case ComboHeight: *value = m_frame->height(); break;
    case ComboWidth: *value = m_frame->width(); break;
    case ComboTextColour: *value = rgbOf(m_field->palette().color(QPalette::Text)); break;
    case ComboFrameColour: *value = rgbOf(m_field->palette().color(QPalette::Window)); break;
    case ComboTextFont: *value = font.family(); break;
    case ComboTextBold: *value = font.bold(); break;
    case ComboTextPointSize: *value = font.pointSize(); break;
    case ComboTextItalic: *value = font.italic(); break;
    case ComboTextUnderline: *value = font.underline(); break;
    case ComboLeft: *value = m_frame->x(); break;
    case ComboTop: *value = m_frame->y(); break;
    case ComboVisible: *value = !m_frame->isHidden(); break;
    case ComboDimmed: *value = !m_frame->isEnabledTo(m_frame->parentWidget()); break;
    case ComboMaxEntryLength: *value = maxLength(); break;
    }
    return 0;
}

ComboBox* Combo_Record(const QLineEdit* field)
{
    if (!field)
        return nullptr;
    return field->findChild<ComboBox*>(QString(), Qt::FindDirectChildrenOnly);
}

QComboBox* Combo_ListControl(const QLineEdit* field)
{
    ComboBox* record = Combo_Record(field);
    return record ? record->list() : nullptr;
}

int Combo_NewComboBox(QLineEdit* field)
{
    if (!field || !field->parentWidget() || Combo_Record(field))
        return ComboErrNotComboBox;
    QWidget* parent = field->parentWidget();
    QWidget* before = previousFocusable(field);

    std::unique_ptr<QFrame> frame;
    std::unique_ptr<ListButton> list;
    try {
        frame = std::make_unique<QFrame>(parent);
        list = std::make_unique<ListButton>(parent, frame.get());
    } catch (const std::bad_alloc&) {
        return ComboErrOutOfMemory;
    }

    frame->setObjectName(field->objectName() + QStringLiteral("Frame"));
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(1);
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    frame->stackUnder(field);

    list->setObjectName(field->objectName() + QStringLiteral("List"));
    // Named after its field: unnamed, a screen reader would read the entry shown.
    list->setAccessibleName(field->accessibleName() + QCoreApplication::translate("ComboBox", " history"));
    list->setAccessibleDescription(
        QCoreApplication::translate("ComboBox", "Entries used before; choosing one puts it into the field."));
    list->setEditable(false);
    list->setFocusPolicy(Qt::StrongFocus);
    list->setFont(field->font());

    // The field's frame colour carries over to the new controls.
    const QColor frameColour = field->palette().color(QPalette::Window);
    QPalette framePalette = frame->palette();
    framePalette.setColor(QPalette::WindowText, frameColour);
    frame->setPalette(framePalette);
    QPalette listPalette = list->palette();
    listPalette.setColor(QPalette::Button, frameColour);
    list->setPalette(listPalette);

    const bool shown = !field->isHidden();
    const bool enabled = field->isEnabledTo(parent);
    frame->setVisible(shown);
    list->setVisible(shown);
    frame->setEnabled(enabled);
    list->setEnabled(enabled);

    // The button takes the field's place in the tab order; the field follows it.
    if (before)
        QWidget::setTabOrder(before, list.get());
    QWidget::setTabOrder(list.get(), field);

    ComboBox* record = nullptr;
    try {
        record = new ComboBox(field, list.get(), frame.get());
    } catch (const std::bad_alloc&) {
        return ComboErrOutOfMemory;
    }
    // The field's parent owns the frame and the list from here on.
    (void)frame.release();
    (void)list.release();
    record->follow();
    return 0;
}

int Combo_DiscardComboBox(QLineEdit* field)
{
    ComboBox* record = Combo_Record(field);
    if (!record)
        return ComboErrNotComboBox;
    delete record->list();
    delete record->frame();
    delete field;  // takes the record with it
    return 0;
}

int Combo_InsertComboItem(QLineEdit* field, int index, const QString& text)
{
    QComboBox* list = Combo_ListControl(field);
    if (!list)
        return ComboErrNotComboBox;
    if (index == -1)
        index = list->count();
    if (index < 0 || index > list->count())
        return ComboErrOutOfRange;
    list->insertItem(index, text);
    return 0;
}

int Combo_DeleteComboItem(QLineEdit* field, int index, int count)
{
    QComboBox* list = Combo_ListControl(field);
    if (!list)
        return ComboErrNotComboBox;
    const int n = list->count();
    if (index < 0 || index > n)
        return ComboErrOutOfRange;
    if (count == -1)
        count = n - index;
    if (count < 0 || count > n - index)
        return ComboErrOutOfRange;
    for (int i = 0; i < count; ++i)
        list->removeItem(index);
    return 0;
}

int Combo_ReplaceComboItem(QLineEdit* field, int index, const QString& text)
{
    QComboBox* list = Combo_ListControl(field);
    if (!list)
        return ComboErrNotComboBox;
    if (index < 0 || index >= list->count())
        return ComboErrOutOfRange;
    list->setItemText(index, text);
    return 0;
}

int Combo_GetIndexFromValue(QLineEdit* field, int* index, const QString& text)
{
    QComboBox* list = Combo_ListControl(field);
    if (!list)
        return ComboErrNotComboBox;
    if (index)
        *index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    return 0;
}

int Combo_SetComboAttribute(QLineEdit* field, int attribute, const QVariant& value)
{
    ComboBox* record = Combo_Record(field);
    return record ? record->setAttribute(attribute, value) : ComboErrNotComboBox;
}

int Combo_GetComboAttribute(QLineEdit* field, int attribute, QVariant* value)
{
    ComboBox* record = Combo_Record(field);
    return record ? record->attribute(attribute, value) : ComboErrNotComboBox;
}

}  // namespace tarvo
