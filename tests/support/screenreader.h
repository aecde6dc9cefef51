// What a screen reader is told about the controls of a real panel.
#pragma once

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

namespace tarvo::test {

// The text a control shows as its value, which must not stand for its name.
inline QString shownValue(const QWidget* w)
{
    if (const auto* box = qobject_cast<const QComboBox*>(w))
        return box->currentText();
    if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(w))
        return spin->text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(w))
        return edit->text();
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return label->text();
    if (const auto* digits = qobject_cast<const QLCDNumber*>(w))
        return QString::number(digits->value());
    return {};
}

// A label that shows a value or a message rather than naming another control.
inline bool isDisplayLabel(const QLabel* label)
{
    return label->objectName().startsWith(QLatin1String("Disp"))
        || label->textInteractionFlags().testFlag(Qt::TextSelectableByMouse);
}

// Every named button, combo box, number field, line edit and display of the
// panel is read by its name, never by its value; with `described`, each also
// has a description (its help, or what a display label shows: a label shows
// its text as its name only when it has no name).
inline void checkScreenReaderTexts(QWidget* panel, bool described)
{
    for (QWidget* w : panel->findChildren<QWidget*>()) {
        const auto* label = qobject_cast<const QLabel*>(w);
        const bool control = w->inherits("QAbstractButton") || w->inherits("QComboBox")
            || w->inherits("QAbstractSpinBox") || w->inherits("QLineEdit") || w->inherits("QLCDNumber");
        if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_"))
            || !(control || (label && isDisplayLabel(label))))
            continue;
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(w);
        QVERIFY2(reader, qPrintable(w->objectName()));
        const QString name = reader->text(QAccessible::Name);
        const QString value = shownValue(w);
        QVERIFY2(!name.isEmpty(), qPrintable(w->objectName()));
        if (!w->inherits("QAbstractButton"))
            QVERIFY2(name != value, qPrintable(w->objectName() + QStringLiteral(" is read as ") + name));
        if (!described)
            continue;
        const QString description = reader->text(QAccessible::Description);
        QVERIFY2(!description.isEmpty() || (label && value.isEmpty()),
                 qPrintable(w->objectName() + QStringLiteral(" has no description")));
    }
}

}  // namespace tarvo::test
