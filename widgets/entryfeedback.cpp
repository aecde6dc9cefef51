#include "entryfeedback.h"

#include "numbertext.h"

#include <QAbstractSpinBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QSpinBox>
#include <QTimer>
#include <QToolTip>
#include <QValidator>

namespace tarvo {

namespace {

constexpr int kHighlightMs = 1500;                           // unless a window of the field says otherwise
const char* const kHighlightTime = "tarvoEntryHighlightMs";  // a window's own time for the red frame
const char* const kLastNotice = "tarvoLastEntryNotice";      // on the window: the last reason given in it
constexpr const char* kTakesExponent = "takesExponent";
constexpr int kTooltipMs = 6000;
const char* const kNoticeText = "tarvoEntryNotice";      // the reason shown as the tooltip now
const char* const kUnderToolTip = "tarvoEntryUnderTip";  // the tooltip the reason covers
const char* const kWatched = "tarvoEntryWatched";
const char* const kHighlighted = "tarvoEntryHighlighted";  // the red frame's end is due
const char* const kUnsent = "tarvoUnsent";                 // changed here, not yet sent

const char* const kUnsentFrame = "tarvoUnsentFrame";
const char* const kNoticeFrame = "tarvoNoticeFrame";

// A frame painted over a field. A style-sheet border would make the style
// draw the whole field by the sheet's rules, and a spin box without rules for
// its buttons then loses its arrows; over the field, they stay as they are.
class FieldFrame final : public QWidget {
public:
    FieldFrame(QWidget* field, const char* name, const QColor& colour, Qt::PenStyle style)
        : QWidget(field)
        , m_pen(colour, 2, style)
    {
        setObjectName(QLatin1String(name));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(field->rect());
        field->installEventFilter(this);
        show();
        raise();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            setGeometry(static_cast<QWidget*>(watched)->rect());
        else if (event->type() == QEvent::ChildAdded)
            raise();  // above a table's cell editor
        return false;
    }

    void paintEvent(QPaintEvent* /*event*/) override
    {
        QPainter painter(this);
        painter.setPen(m_pen);
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }

private:
    QPen m_pen;
};

void setFieldFrame(QWidget* field, const char* name, const QColor& colour, Qt::PenStyle style, bool on)
{
    QWidget* frame = field->findChild<QWidget*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    if (on && !frame)
        new FieldFrame(field, name, colour, style);
    else if (!on && frame)
        delete frame;
}

QString rangeText(const QAbstractSpinBox* box)
{
    if (const auto* d = qobject_cast<const QDoubleSpinBox*>(box))
        return QStringLiteral("%1 … %2").arg(QString::number(d->minimum(), 'g', QLocale::FloatingPointShortest),
                                             QString::number(d->maximum(), 'g', QLocale::FloatingPointShortest));
    if (const auto* i = qobject_cast<const QSpinBox*>(box))
        return QStringLiteral("%1 … %2").arg(i->minimum()).arg(i->maximum());
    return QString();
}

bool decimalField(const QAbstractSpinBox* box)
{
    const auto* d = qobject_cast<const QDoubleSpinBox*>(box);
    return d && d->decimals() > 0;
}

// The number in a field's text, without the field's prefix and suffix.
QString numberPart(const QAbstractSpinBox* box, QString text)
{
    QString prefix, suffix;
    if (const auto* d = qobject_cast<const QDoubleSpinBox*>(box))
        prefix = d->prefix(), suffix = d->suffix();
    else if (const auto* i = qobject_cast<const QSpinBox*>(box))
        prefix = i->prefix(), suffix = i->suffix();
    if (!prefix.isEmpty() && text.startsWith(prefix))
        text.remove(0, prefix.size());
    if (!suffix.isEmpty() && text.endsWith(suffix))
        text.chop(suffix.size());
    return text.trimmed();
}

// Whether the text typed so far may still become a number the field holds,
// by the one rule for numbers (an exponent only where the field says so).
bool plainSoFar(const QAbstractSpinBox* box, const QString& number)
{
    if (!decimalField(box))
        return couldBecomeNumber(number, NumberForm::Whole);
    if (!box->property(kTakesExponent).toBool()
        && (number.contains(QLatin1Char('e')) || number.contains(QLatin1Char('E'))))
        return false;
    return couldBecomeNumber(number, NumberForm::Decimal);
}

class Watcher final : public QObject {
public:
    explicit Watcher(QAbstractSpinBox* box)
        : QObject(box)
        , m_box(box)
        , m_edit(box->findChild<QLineEdit*>())
    {
        box->installEventFilter(this);
        // The reason stays until the user starts the next entry.
        connect(box, &QAbstractSpinBox::editingFinished, this, [this] { m_entryEnded = true; });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_box || !m_edit || m_box->isReadOnly())
            return false;
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
                checkFinished();
            else if (!key->text().isEmpty() && key->text().at(0).isPrint()) {
                if (m_entryEnded)
                    clearNotice();
                m_entryEnded = false;
                return refuseKeystroke(key->text());
            }
        } else if (event->type() == QEvent::FocusOut) {
            checkFinished();
        }
        return false;
    }

private:
    QValidator::State state(QString text) const
    {
        int pos = int(text.size());
        return m_edit->validator() ? m_edit->validator()->validate(text, pos) : QValidator::Acceptable;
    }

    // The text the keystroke would make, as the line edit would make it.
    QString textAfter(const QString& typed) const
    {
        QString text = m_edit->text();
        if (m_edit->hasSelectedText())
            return text.replace(m_edit->selectionStart(), m_edit->selectedText().size(), typed);
        return text.insert(m_edit->cursorPosition(), typed);
    }

    // Refuses, and says why, a keystroke that would leave the one rule for
    // numbers (which the field itself might take: an integer field reads a
    // comma as a thousands separator) or the field's range.
    bool refuseKeystroke(const QString& typed)
    {
        // A decimal comma, as typed on a German keyboard, is the decimal
        // point; dropping it would turn 0,25 into 25.
        if (typed == QStringLiteral(",") && decimalField(m_box)) {
            const QString point = QStringLiteral(".");
            const QString after = textAfter(point);
            if (plainSoFar(m_box, numberPart(m_box, after)) && state(after) != QValidator::Invalid) {
                m_edit->insert(point);
                return true;
            }
        }
        const QString after = textAfter(typed);
        const QString shown = numberPart(m_box, after);
        const bool plain = plainSoFar(m_box, shown);
        if (plain && state(after) != QValidator::Invalid)
            return false;
        QString why;
        if (typed == QStringLiteral(",") && !decimalField(m_box))
            why = tr(R"("%1" was not taken: this field holds whole numbers.)").arg(shown);
        else if (plain)
            why = tr("\"%1\" was not taken: the value must lie within %2.").arg(shown, rangeText(m_box));
        else
            why = tr("\"%1\" was not taken: it is not a number this field holds.").arg(shown);
        notice(why);
        return true;
    }

    void checkFinished()
    {
        const QString text = m_edit->text();
        if (state(text) != QValidator::Intermediate)
            return;
        notice(tr("\"%1\" was not taken: the value must lie within %2; the field keeps its previous value.")
                   .arg(numberPart(m_box, text), rangeText(m_box)));
    }

    void notice(const QString& text) { showEntryNotice(m_box, text); }

    void clearNotice()
    {
        // The tooltip the reason covered comes back, unless the field's
        // tooltip was changed meanwhile (a value it keeps was replaced).
        const QString notice = m_box->property(kNoticeText).toString();
        if (!notice.isEmpty() && m_box->toolTip() == notice)
            m_box->setToolTip(m_box->property(kUnderToolTip).toString());
        m_box->setProperty(kNoticeText, QVariant());
    }

    QAbstractSpinBox* m_box;
    QLineEdit* m_edit;
    bool m_entryEnded = false;
};

// How long the red frame stays: the time set on the field or its nearest
// window above it that has one, else the default.
int highlightTime(const QWidget* field)
{
    for (const QWidget* w = field; w; w = w->parentWidget())
        if (const QVariant ms = w->property(kHighlightTime); ms.isValid())
            return ms.toInt();
    return kHighlightMs;
}

}  // namespace

void showEntryNotice(QWidget* field, const QString& text)
{
    field->window()->setProperty(kLastNotice, text);
    const QString shownNotice = field->property(kNoticeText).toString();
    if (shownNotice.isEmpty() || field->toolTip() != shownNotice)
        field->setProperty(kUnderToolTip, field->toolTip());
    field->setProperty(kNoticeText, text);
    field->setToolTip(text);
    if (field->isVisible())
        QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), text, field, QRect(), kTooltipMs);
    // The frame goes on top of the field and leaves its style as it is.
    const QColor red(0xd0, 0x00, 0x00);
    setFieldFrame(field, kNoticeFrame, red, Qt::SolidLine, true);
    if (field->property(kHighlighted).toBool())
        return;
    field->setProperty(kHighlighted, true);
    QPointer<QWidget> guard(field);
    QTimer::singleShot(highlightTime(field), field, [guard, red] {
        if (!guard)
            return;
        setFieldFrame(guard, kNoticeFrame, red, Qt::SolidLine, false);
        guard->setProperty(kHighlighted, false);
    });
}

void setFieldStyle(QWidget* field, const QString& declarations, bool on)
{
    // A rule for the field's kind, not for everything inside it (a spin box's
    // line edit, a ring's drop-down list).
    const char* kind = field->inherits("QAbstractSpinBox") ? "QAbstractSpinBox"
        : field->inherits("QAbstractScrollArea")           ? "QAbstractScrollArea"
        : field->inherits("QComboBox")                     ? "QComboBox"
        : field->inherits("QCheckBox")                     ? "QCheckBox"
        : field->inherits("QSlider")                       ? "QSlider"
                                                           : "QWidget";
    const QString rule = QStringLiteral(" %1 { %2 }").arg(QString::fromLatin1(kind), declarations);
    const QString style = field->styleSheet();
    if (on && !style.contains(rule))
        field->setStyleSheet(style + rule);
    else if (!on && style.contains(rule))
        field->setStyleSheet(QString(style).remove(rule));
}

void markUnsent(QWidget* field, bool unsent)
{
    if (!field || isMarkedUnsent(field) == unsent)
        return;
    field->setProperty(kUnsent, unsent);
    setFieldFrame(field, kUnsentFrame, QColor(0x1f, 0x5f, 0xbf), Qt::DashLine, unsent);
}

bool isMarkedUnsent(const QWidget* field)
{
    return field && field->property(kUnsent).toBool();
}

void watchNumberEntry(QAbstractSpinBox* box)
{
    if (!box || box->property(kWatched).toBool())
        return;
    box->setProperty(kWatched, true);
    QLocale plain = QLocale::c();
    plain.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    box->setLocale(plain);
    new Watcher(box);
}

void watchNumberEntries(QWidget* panel)
{
    if (!panel)
        return;
    for (QAbstractSpinBox* box : panel->findChildren<QAbstractSpinBox*>())
        if (!box->isReadOnly())
            watchNumberEntry(box);
}

void setEntryHighlightTime(QWidget* window, int milliseconds)
{
    window->setProperty(kHighlightTime, milliseconds);
}

QString lastEntryNotice(const QWidget* window)
{
    return window ? window->window()->property(kLastNotice).toString() : QString();
}

}  // namespace tarvo
