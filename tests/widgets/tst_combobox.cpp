#include "combobox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace tarvo;

namespace {

// A panel laid out by hand: First, Second, the server field, After.
struct Panel {
    QWidget window;
    QLineEdit* first;
    QPushButton* second;
    QLineEdit* field;
    QPushButton* after;

    Panel()
    {
        window.resize(420, 120);
        first = new QLineEdit(&window);
        first->setObjectName("First");
        first->setGeometry(10, 10, 80, 22);
        second = new QPushButton("Second", &window);
        second->setObjectName("Second");
        second->setGeometry(100, 10, 60, 22);
        field = new QLineEdit(&window);
        field->setObjectName("StringIpAdress");
        field->setGeometry(200, 10, 150, 22);
        after = new QPushButton("After", &window);
        after->setObjectName("After");
        after->setGeometry(200, 60, 60, 22);
    }
    bool show()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
    QComboBox* list() const { return Combo_ListControl(field); }
    QFrame* frame() const { return Combo_Record(field)->frame(); }
    void fill(const QStringList& items)
    {
        for (const QString& item : items)
            QVERIFY(Combo_InsertComboItem(field, -1, item) >= 0);
    }
};

QStringList itemsOf(QLineEdit* field)
{
    QStringList items;
    QComboBox* list = Combo_ListControl(field);
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

QVariant get(QLineEdit* field, int attribute)
{
    QVariant value;
    const int rc = Combo_GetComboAttribute(field, attribute, &value);
    return rc < 0 ? QVariant(rc) : value;
}

} // namespace

class ComboBoxTest : public QObject {
    Q_OBJECT
private slots:
    void newComboBoxPutsSquareButtonLeftOfFieldInsideFrame();
    void newComboBoxRefusesNullParentlessOrRepeatedControl();
    void operationsRefusePlainLineEdit();
    void typingCompletesFromFirstMatchingItem_data();
    void typingCompletesFromFirstMatchingItem();
    void typingOnReplacesTheSuggestion();
    void backspaceOrDeleteStopsCompletionUntilAnotherKey_data();
    void backspaceOrDeleteStopsCompletionUntilAnotherKey();
    void arrowKeysOpenListAndKeepFocusThere_data();
    void arrowKeysOpenListAndKeepFocusThere();
    void tabbingOntoButtonLandsInField();
    void shiftTabSkipsBackOverButton_data();
    void shiftTabSkipsBackOverButton();
    void pickCopiesItemCutToMaxLengthAndCommits();
    void enterOrLeavingAfterEditCommits();
    void keyHandlerSeesAndCanSwallowKeys();
    void itemOperationsCheckIndexAndCount();
    void attributeNumbersAreChecked_data();
    void attributeNumbersAreChecked();
    void attributeRoundTrip_data();
    void attributeRoundTrip();
    void geometryAttributesMoveWholeCombo();
    void pointSizeResizesButtonAndFrame();
    void visibleAndDimmedCoverFieldListAndFrame();
    void buttonFollowsFieldPlacedByLayout();
    void discardRemovesListFrameAndField();
};

void ComboBoxTest::newComboBoxPutsSquareButtonLeftOfFieldInsideFrame()
{
    Panel p;
    QCOMPARE(Combo_NewComboBox(p.field), 0);
    QVERIFY(p.show());

    QComboBox* list = p.list();
    QVERIFY(list);
    QVERIFY(!list->isEditable());
    QCOMPARE(p.window.findChild<QLineEdit*>("StringIpAdress"), p.field);

    const QRect field = p.field->geometry();
    QCOMPARE(list->geometry(), QRect(field.x() - 22, field.y(), 22, 22));
    QVERIFY(p.frame()->geometry().contains(list->geometry()));
    QVERIFY(p.frame()->geometry().contains(field));
    QCOMPARE(p.field->geometry(), QRect(200, 10, 150, 22)); // the field stays put

    // The button takes the field's place in the tab order, the field follows.
    QCOMPARE(p.second->nextInFocusChain(), static_cast<QWidget*>(list));
    QCOMPARE(list->nextInFocusChain(), static_cast<QWidget*>(p.field));

    const QColor frameColour = p.field->palette().color(QPalette::Window);
    QCOMPARE(p.frame()->palette().color(QPalette::WindowText), frameColour);
    QCOMPARE(list->palette().color(QPalette::Button), frameColour);
}

void ComboBoxTest::newComboBoxRefusesNullParentlessOrRepeatedControl()
{
    Panel p;
    QCOMPARE(Combo_NewComboBox(p.field), 0);
    QCOMPARE(Combo_NewComboBox(p.field), ComboErrNotComboBox);
    QCOMPARE(p.window.findChildren<QComboBox*>().size(), 1);
    QCOMPARE(p.window.findChildren<ComboBox*>().size(), 1);

    QCOMPARE(Combo_NewComboBox(nullptr), ComboErrNotComboBox);
    QLineEdit alone;
    QCOMPARE(Combo_NewComboBox(&alone), ComboErrNotComboBox);
}

void ComboBoxTest::operationsRefusePlainLineEdit()
{
    Panel p;
    QVariant value;
    int index = 0;
    QCOMPARE(Combo_InsertComboItem(p.first, -1, "x"), ComboErrNotComboBox);
    QCOMPARE(Combo_DeleteComboItem(p.first, 0, -1), ComboErrNotComboBox);
    QCOMPARE(Combo_ReplaceComboItem(p.first, 0, "x"), ComboErrNotComboBox);
    QCOMPARE(Combo_GetIndexFromValue(p.first, &index, "x"), ComboErrNotComboBox);
    QCOMPARE(Combo_SetComboAttribute(p.first, ComboVisible, false), ComboErrNotComboBox);
    QCOMPARE(Combo_GetComboAttribute(p.first, ComboVisible, &value), ComboErrNotComboBox);
    QCOMPARE(Combo_DiscardComboBox(p.first), ComboErrNotComboBox);
    QVERIFY(!Combo_ListControl(p.first));
}

void ComboBoxTest::typingCompletesFromFirstMatchingItem_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("selected");

    QTest::newRow("first match completes") << QStringList{"alpha", "ac"} << "a" << -1 << "alpha" << "lpha";
    QTest::newRow("list order decides") << QStringList{"ac", "alpha"} << "a" << -1 << "ac" << "c";
    QTest::newRow("case-insensitive, typed case kept") << QStringList{"ALPHA"} << "a" << -1 << "aLPHA" << "LPHA";
    QTest::newRow("further letter narrows") << QStringList{"alpha", "ac"} << "ac" << -1 << "ac" << "";
    QTest::newRow("one-character item never completes") << QStringList{"x", "xylophone"} << "x" << -1 << "x" << "";
    QTest::newRow("no match") << QStringList{"alpha"} << "q" << -1 << "q" << "";
    QTest::newRow("tail cut to max length") << QStringList{"alphabet"} << "a" << 4 << "alph" << "lph";
}

void ComboBoxTest::typingCompletesFromFirstMatchingItem()
{
    QFETCH(QStringList, items);
    QFETCH(QString, typed);
    QFETCH(int, maxLength);
    QFETCH(QString, text);
    QFETCH(QString, selected);

    Panel p;
    QCOMPARE(Combo_NewComboBox(p.field), 0);
    p.fill(items);
    QCOMPARE(Combo_SetComboAttribute(p.field, ComboMaxEntryLength, maxLength), 0);

    QTest::keyClicks(p.field, typed);
    QCOMPARE(p.field->text(), text);
    QCOMPARE(p.field->selectedText(), selected);
    if (!selected.isEmpty())
        QCOMPARE(p.field->selectionStart(), typed.size());
}

void ComboBoxTest::typingOnReplacesTheSuggestion()
{
    Panel p;
    QCOMPARE(Combo_NewComboBox(p.field), 0);
    p.fill({"alpha", "ac"});

    QTest::keyClick(p.field, 'a');
    QCOMPARE(p.field->text(), "alpha");
    QTest::keyClick(p.field, 'l');
    QCOMPARE(p.field->text(), "alpha");
    QCOMPARE(p.field->selectedText(), "pha");
    QTest::keyClick(p.field, 'x');
    QCOMPARE(p.field->text(), "alx");
    QVERIFY(!p.field->hasSelectedText());
}

void ComboBoxTest::backspaceOrDeleteStopsCompletionUntilAnotherKey_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Backspace") << int(Qt::Key_Backspace);
    QTest::newRow("Delete") << int(Qt::Key_Delete);
}

void ComboBoxTest::backspaceOrDeleteStopsCompletionUntilAnotherKey()
{
    QFETCH(int, key);
    Panel p;
    QCOMPARE(Combo_NewComboBox(p.field), 0);
    p.fill({"alpha"});

    QTest::keyClick(p.field, 'a');
    QCOMPARE(p.field->text(), "alpha");
    QTest::keyClick(p.field, Qt::Key(key)); // removes the suggestion
    QCOMPARE(p.field->text(), "a");
    QVERIFY(!p.field->hasSelectedText());

    QTest::keyClick(p.field, 'l');
    QCOMPARE(p.field->text(), "alpha");
    QCOMPARE(p.field->selectedText(), "pha");
}

void ComboBoxTest::arrowKeysOpenListAndKeepFocusThere_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Down") << int(Qt::Key_Down);
    QTest::newRow("Up") << int(Qt::Key_Up);
}

void ComboBoxTest::arrowKeysOpenListAndKeepFocusThere()
{
    QFETCH(int, key);
    Panel p;
    QCOMPARE(Combo_NewComboBox(p.field), 0);
    p.fill({"alpha", "beta"});
    QVERIFY(p.show());
    p.field->setFocus();

    QTest::keyClick(p.field, Qt::Key(key));
    QTRY_VERIFY(p.list()->view()->isVisible());
    QCOMPARE(p.field->text(), QString()); // the key itself does not edit

    QTest::keyClick(p.list()->view(), Qt::Key_Escape);
    QTRY_VERIFY(!p.list()->view()->isVisible());
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(p.list()));
}

void ComboBoxTest::tabbingOntoButtonLandsInField()
{
    Panel p;
    QCOMPARE(Combo_NewComboBox(p.field), 0);
    QVERIFY(p.show());
    p.second->setFocus();
    QTest::keyClick(p.second, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(p.field));
    QTest::keyClick(p.field, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(p.after));
}

void ComboBoxTest::shiftTabSkipsBackOverButton_data()
{
    QTest::addColumn<bool>("firstDimmed");
    QTest::addColumn<bool>("secondDimmed");
    QTest::addColumn<bool>("secondHidden");
    QTest::addColumn<QString>("target");

    QTest::newRow("previous control") << false << false << false << "Second";
    QTest::newRow("dimmed control skipped") << false << true << false << "First";
    QTest::newRow("hidden control skipped") << false << false << true << "First";
    QTest::newRow("wraps to the end") << true << true << false << "After";
}

void ComboBoxTest::shiftTabSkipsBackOverButton()
{
    QFETCH(bool, firstDimmed);
    QFETCH(bool, secondDimmed);
    QFETCH(bool, secondHidden);
    QFETCH(QString, target);

    Panel p;
    QCOMPARE(Combo_NewComboBox(p.field), 0);
    p.first->setEnabled(!firstDimmed);
    p.second->setEnabled(!secondDimmed);
    p.second->setHidden(secondHidden);
    QVERIFY(p.show());
    p.field->setFocus();

    QTest::keyClick(p.field, Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(QApplication::focusWidget());
    QCOMPARE(QApplication::focusWidget()->objectName(), target);
}

void ComboBoxTest::pickCopiesItemCutToMaxLengthAndCommits()
{
    Panel p;
    QCOMPARE(Combo_NewComboBox(p.field), 0);
    p.fill({"short", "sensor-line-7.plant"});
    QCOMPARE(Combo_SetComboAttribute(p.field, ComboMaxEntryLength, 6), 0);
    QVERIFY(p.show());
    QSignalSpy committed(Combo_Record(p.field), &ComboBox::committed);
    QSignalSpy changed(Combo_Record(p.field), &ComboBox::valueChanged);

    p.field->setFocus();
    QTest::keyClick(p.field, Qt::Key_Down);
    QAbstractItemView* view = p.list()->view();
    QTRY_VERIFY(view->isVisible());
    view->setCurrentIndex(p.list()->model()->index(1, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());

    QCOMPARE(p.field->text(), "sensor");
    QCOMPARE(committed.count(), 1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(p.field));

    // Picking the selected item again commits without a change.
    p.field->clear();
    QTest::keyClick(p.field, Qt::Key_Down);
    QTRY_VERIFY(view->isVisible());
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(p.field->text(), "sensor");
    QCOMPARE(committed.count(), 2);
    QCOMPARE(changed.count(), 1);
}

void ComboBoxTest::enterOrLeavingAfterEditCommits()
{
    Panel p;
    QCOMPARE(Combo_NewComboBox(p.field), 0);
    QVERIFY(p.show());
    QSignalSpy committed(Combo_Record(p.field), &ComboBox::committed);
    QSignalSpy changed(Combo_Record(p.field), &ComboBox::valueChanged);

    p.field->setFocus();
    QTest::keyClicks(p.field, "10.0.0.5");
    QCOMPARE(changed.count(), 8);
    QCOMPARE(committed.count(), 0);
    QTest::keyClick(p.field, Qt::Key_Return);
    QCOMPARE(committed.count(), 1);

    p.after->setFocus(); // nothing edited since Enter
    QCOMPARE(committed.count(), 1);

    p.field->setFocus();
    QTest::keyClick(p.field, '1');
    p.after->setFocus();
    QCOMPARE(committed.count(), 2);
}

void ComboBoxTest::keyHandlerSeesAndCanSwallowKeys()
{
    Panel p;
    QCOMPARE(Combo_NewComboBox(p.field), 0);
    QList<int> seen;
    Combo_Record(p.field)->setKeyHandler([&seen](const QKeyEvent& event) {
        seen << event.key();
        return event.key() == Qt::Key_X;
    });
    QTest::keyClicks(p.field, "axb");
    QCOMPARE(p.field->text(), "ab");
    QCOMPARE(seen, (QList<int>{Qt::Key_A, Qt::Key_X, Qt::Key_B}));
}

void ComboBoxTest::itemOperationsCheckIndexAndCount()
{
    Panel p;
    QCOMPARE(Combo_NewComboBox(p.field), 0);
    QLineEdit* f = p.field;

    QCOMPARE(Combo_InsertComboItem(f, -1, "b"), 0);
    QCOMPARE(Combo_InsertComboItem(f, 0, "a"), 0);
    QCOMPARE(Combo_InsertComboItem(f, -1, "c"), 0);
    QCOMPARE(Combo_InsertComboItem(f, 4, "d"), ComboErrOutOfRange);
    QCOMPARE(Combo_InsertComboItem(f, -2, "d"), ComboErrOutOfRange);
    QCOMPARE(itemsOf(f), (QStringList{"a", "b", "c"}));

    int index = 99;
    QCOMPARE(Combo_GetIndexFromValue(f, &index, "b"), 0);
    QCOMPARE(index, 1);
    QCOMPARE(Combo_GetIndexFromValue(f, &index, "B"), 0);
    QCOMPARE(index, -1);
    QCOMPARE(Combo_GetIndexFromValue(f, &index, "zz"), 0);
    QCOMPARE(index, -1);

    QCOMPARE(Combo_ReplaceComboItem(f, 1, "bee"), 0);
    QCOMPARE(Combo_ReplaceComboItem(f, 3, "x"), ComboErrOutOfRange);
    QCOMPARE(itemsOf(f), (QStringList{"a", "bee", "c"}));

    QCOMPARE(Combo_DeleteComboItem(f, 0, 4), ComboErrOutOfRange);
    QCOMPARE(Combo_DeleteComboItem(f, 4, -1), ComboErrOutOfRange);
    QCOMPARE(Combo_DeleteComboItem(f, 3, -1), 0); // from the end: nothing to delete
    QCOMPARE(Combo_DeleteComboItem(f, 1, -1), 0);
    QCOMPARE(itemsOf(f), QStringList{"a"});
    QCOMPARE(Combo_DeleteComboItem(f, 0, 1), 0);
    QCOMPARE(Combo_ListControl(f)->count(), 0);
}

void ComboBoxTest::attributeNumbersAreChecked_data()
{
    QTest::addColumn<int>("attribute");
    QTest::addColumn<int>("setResult");
    QTest::addColumn<int>("getResult");
    QTest::newRow("0") << 0 << ComboErrBadAttribute << ComboErrBadAttribute;
    QTest::newRow("15") << 15 << ComboErrBadAttribute << ComboErrBadAttribute;
    QTest::newRow("height is read only") << 1 << ComboErrBadAttribute << 0;
    QTest::newRow("bold is read only") << 6 << ComboErrBadAttribute << 0;
}

void ComboBoxTest::attributeNumbersAreChecked()
{
    QFETCH(int, attribute);
    QFETCH(int, setResult);
    QFETCH(int, getResult);
    Panel p;
    QCOMPARE(Combo_NewComboBox(p.field), 0);
    QVariant value;
    QCOMPARE(Combo_SetComboAttribute(p.field, attribute, 1), setResult);
    QCOMPARE(Combo_GetComboAttribute(p.field, attribute, &value), getResult);
}

void ComboBoxTest::attributeRoundTrip_data()
{
    QTest::addColumn<int>("attribute");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("text colour") << 3 << QVariant(0x123456) << QVariant(0x123456);
    QTest::newRow("frame colour") << 4 << QVariant(0xE0E0E0) << QVariant(0xE0E0E0);
    QTest::newRow("font by family") << 5 << QVariant(QString("Monospace")) << QVariant(QString("Monospace"));
    QTest::newRow("point size") << 7 << QVariant(15) << QVariant(15);
    QTest::newRow("italic") << 8 << QVariant(true) << QVariant(true);
    QTest::newRow("underline") << 9 << QVariant(true) << QVariant(true);
    QTest::newRow("invisible") << 12 << QVariant(false) << QVariant(false);
    QTest::newRow("dimmed") << 13 << QVariant(true) << QVariant(true);
    QTest::newRow("max length") << 14 << QVariant(10) << QVariant(10);
    QTest::newRow("unlimited length") << 14 << QVariant(-1) << QVariant(-1);
}

void ComboBoxTest::attributeRoundTrip()
{
    QFETCH(int, attribute);
    QFETCH(QVariant, value);
    QFETCH(QVariant, expected);
    Panel p;
    QCOMPARE(Combo_NewComboBox(p.field), 0);
    QCOMPARE(Combo_SetComboAttribute(p.field, attribute, value), 0);
    QCOMPARE(get(p.field, attribute), expected);
}

void ComboBoxTest::geometryAttributesMoveWholeCombo()
{
    Panel p;
    QCOMPARE(Combo_NewComboBox(p.field), 0);
    QLineEdit* f = p.field;
    QCOMPARE(get(f, ComboLeft), QVariant(200 - 22 - 1));
    QCOMPARE(get(f, ComboTop), QVariant(9));
    QCOMPARE(get(f, ComboHeight), QVariant(24));
    QCOMPARE(get(f, ComboWidth), QVariant(150 + 22 + 2));

    QCOMPARE(Combo_SetComboAttribute(f, ComboWidth, 300), 0);
    QCOMPARE(p.frame()->width(), 300);
    QCOMPARE(f->width(), 300 - 22 - 2);

    QCOMPARE(Combo_SetComboAttribute(f, ComboLeft, 20), 0);
    QCOMPARE(Combo_SetComboAttribute(f, ComboTop, 40), 0);
    QCOMPARE(p.frame()->pos(), QPoint(20, 40));
    QCOMPARE(p.list()->pos(), QPoint(21, 41));
    QCOMPARE(f->pos(), QPoint(21 + 22, 41));
    QCOMPARE(get(f, ComboWidth), QVariant(300));

    QCOMPARE(Combo_SetComboAttribute(f, ComboLeft, QString("left")), ComboErrOutOfRange);
}

void ComboBoxTest::pointSizeResizesButtonAndFrame()
{
    Panel p;
    QCOMPARE(Combo_NewComboBox(p.field), 0);
    const int left = p.frame()->x();
    QCOMPARE(Combo_SetComboAttribute(p.field, ComboTextPointSize, 28), 0);

    QCOMPARE(p.list()->font().pointSize(), 28);
    const int side = p.field->height();
    QVERIFY(side > 22);
    QCOMPARE(p.list()->size(), QSize(side, side));
    QCOMPARE(p.frame()->x(), left);
    QCOMPARE(p.frame()->height(), side + 2);
    QCOMPARE(p.field->x(), left + 1 + side);
}

void ComboBoxTest::visibleAndDimmedCoverFieldListAndFrame()
{
    Panel p;
    QCOMPARE(Combo_NewComboBox(p.field), 0);
    QVERIFY(p.show());
    QWidget* parts[] = {p.field, p.list(), p.frame()};

    QCOMPARE(Combo_SetComboAttribute(p.field, ComboVisible, false), 0);
    for (QWidget* w : parts)
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    QCOMPARE(Combo_SetComboAttribute(p.field, ComboVisible, true), 0);
    for (QWidget* w : parts)
        QVERIFY2(w->isVisible(), qPrintable(w->objectName()));

    QCOMPARE(Combo_SetComboAttribute(p.field, ComboDimmed, true), 0);
    for (QWidget* w : parts)
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    QCOMPARE(Combo_SetComboAttribute(p.field, ComboDimmed, false), 0);

    // Hiding or dimming the field itself takes the button and frame along.
    p.field->hide();
    QVERIFY(!p.list()->isVisible());
    QVERIFY(!p.frame()->isVisible());
    p.field->show();
    p.field->setEnabled(false);
    QVERIFY(!p.list()->isEnabled());
    QVERIFY(p.list()->isVisible());
}

void ComboBoxTest::buttonFollowsFieldPlacedByLayout()
{
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addSpacing(40); // room for the button
    auto* field = new QLineEdit(&window);
    layout->addWidget(field);
    QCOMPARE(Combo_NewComboBox(field), 0);
    window.resize(300, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QComboBox* list = Combo_ListControl(field);
    const int side = field->height();
    QCOMPARE(list->geometry(), QRect(field->x() - side, field->y(), side, side));
    QCOMPARE(Combo_Record(field)->frame()->width(), field->width() + side + 2);

    window.resize(500, 40);
    QTRY_COMPARE(field->width(), 460);
    QCOMPARE(Combo_Record(field)->frame()->width(), 460 + side + 2);
    QCOMPARE(list->geometry(), QRect(field->x() - side, field->y(), side, side));
}

void ComboBoxTest::discardRemovesListFrameAndField()
{
    Panel p;
    QCOMPARE(Combo_NewComboBox(p.field), 0);
    QPointer<QLineEdit> field = p.field;
    QPointer<QComboBox> list = p.list();
    QPointer<QFrame> frame = p.frame();
    QVERIFY(Combo_DiscardComboBox(p.field) >= 0);
    QVERIFY(!field);
    QVERIFY(!list);
    QVERIFY(!frame);
    QVERIFY(p.window.findChildren<ComboBox*>().isEmpty());
}

QTEST_MAIN(ComboBoxTest)
#include "tst_combobox.moc"
