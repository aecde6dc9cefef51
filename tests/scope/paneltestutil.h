// Working the main panel's fields as a user does: typed values committed
// with Enter, ring entries stepped to with the arrow keys.
#pragma once

#include <QComboBox>
#include <QSpinBox>
#include <QtTest>

namespace tarvo::test {

inline void commit(QSpinBox* field, int value)
{
    field->selectAll();
    QTest::keyClicks(field, QString::number(value));
    QTest::keyClick(field, Qt::Key_Return);
}

inline void choose(QComboBox* ring, int value)
{
    while (ring->currentIndex() != value) {
        const int before = ring->currentIndex();
        QTest::keyClick(ring, ring->currentIndex() < value ? Qt::Key_Down : Qt::Key_Up);
        if (ring->currentIndex() == before)
            QFAIL("ring does not move to the value");
    }
}

}  // namespace tarvo::test
