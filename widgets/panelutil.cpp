#include "panelutil.h"

#include <QAbstractButton>
#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QLocale>
#include <QPointer>
#include <QSignalBlocker>
#include <QSpinBox>
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

void showCheckedState(QAbstractButton* button)
{
    static constexpr const char* kPlainText = "tarvoPlainText";
    if (!button->property(kPlainText).isValid())
        button->setProperty(kPlainText, button->text());
    const QString plain = button->property(kPlainText).toString();
    const bool on = button->isChecked();
    button->setText(on ? QStringLiteral("\u2713 ") + plain : plain);
    QFont font = button->font();
    font.setBold(on);
    button->setFont(font);
}

namespace {
constexpr int kValueRole = Qt::UserRole;      // the value an entry stands for, when not its position
constexpr int kExtraRole = Qt::UserRole + 1;  // an entry added for a value the ring does not list
}  // namespace

int ringValue(const QComboBox* ring)
{
    const int i = ring->currentIndex();
    if (i < 0)
        return 0;
    const QVariant v = ring->itemData(i, kValueRole);
    return v.isValid() ? v.toInt() : i;
}

QString shownNumber(double value, char format, int precision)
{
    // QString::number's text, only its point the language's: no group
    // separators, the same exponents and digits in every language.
    QString text = QString::number(value, format, precision);
    const QString point = QLocale().decimalPoint();
    if (point != QStringLiteral("."))
        text.replace(u'.', point);
    return text;
}

void setRingValue(QComboBox* ring, int value)
{
    for (int i = ring->count() - 1; i >= 0; --i)
        if (ring->itemData(i, kExtraRole).toBool())
            ring->removeItem(i);
    if (value >= 0 && value < ring->count()) {
        ring->setCurrentIndex(value);
        return;
    }
    ring->addItem(QCoreApplication::translate("Panels", "other (%1)").arg(value));
    const int i = ring->count() - 1;
    ring->setItemData(i, value, kValueRole);
    ring->setItemData(i, true, kExtraRole);
    ring->setCurrentIndex(i);
}

void setRingEntry(QComboBox* ring, int index, int value)
{
    setRingValue(ring, index);
    for (int i = 0; i < ring->count(); ++i)
        ring->setItemData(i, i == index && index != value ? QVariant(value) : QVariant(), kValueRole);
}

QString ringText(const QComboBox* ring, int value)
{
    for (int i = 0; i < ring->count(); ++i) {
        if (ring->itemData(i, kExtraRole).toBool())
            continue;
        const QVariant v = ring->itemData(i, kValueRole);
        if ((v.isValid() ? v.toInt() : i) == value)
            return ring->itemText(i);
    }
    return {};
}

void commitPendingEdits(QWidget* panel)
{
    if (!panel)
        return;
    // Open cell editors first: their number fields belong to the cell.
    // (A cell's editor lives on the view's viewport while it is open.)
    for (QAbstractItemView* view : panel->findChildren<QAbstractItemView*>()) {
        for (QWidget* editor : view->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!editor->isVisible() || !(qobject_cast<QAbstractSpinBox*>(editor) || editor->inherits("QLineEdit")))
                continue;
            QPointer<QWidget> alive(editor);
            QMetaObject::invokeMethod(view, "commitData", Qt::DirectConnection, Q_ARG(QWidget*, editor));
            if (alive)
                QMetaObject::invokeMethod(view, "closeEditor", Qt::DirectConnection, Q_ARG(QWidget*, editor),
                                          Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
        }
    }
    for (QAbstractSpinBox* box : panel->findChildren<QAbstractSpinBox*>()) {
        if (box->isReadOnly()
            || qobject_cast<QAbstractItemView*>(box->parentWidget() ? box->parentWidget()->parentWidget() : nullptr))
            continue;
        box->interpretText();
        // Text the field could not take shows the value it keeps.
        const QSignalBlocker quiet(box);
        if (auto* i = qobject_cast<QSpinBox*>(box))
            i->setValue(i->value());
        else if (auto* d = qobject_cast<QDoubleSpinBox*>(box))
            d->setValue(d->value());
    }
}

}  // namespace tarvo
