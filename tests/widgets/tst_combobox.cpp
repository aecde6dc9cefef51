#include "combobox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace tarvo;

namespace {

// A panel laid out by hand, in tab order: First, Second, the server field, After.
struct Panel {
    QWidget window;
    QLineEdit* first = add<QLineEdit>("First", {10, 10, 80, 22});
    QPushButton* second = add<QPushButton>("Second", {100, 10, 60, 22});
    QLineEdit* field = add<QLineEdit>("StringIpAdress", {200, 10, 150, 22});
    QPushButton* after = add<QPushButton>("After", {200, 60, 60, 22});

    explicit Panel(const QStringList& items = {})
    {
        window.resize(420, 120);
        if (Combo_NewComboBox(field) != 0)
            qFatal("no combo box");
        for (const QString& item : items)
            Combo_InsertComboItem(field, -1, item);
    }
    template <class W>
    W* add(const QString& name, QRect geometry)
    {
        auto* w = new W(&window);
        w->setObjectName(name);
        w->setGeometry(geometry);
        return w;
    }
    bool show()
    {
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        field->setFocus();
        return true;
    }
    QComboBox* list() const { return Combo_ListControl(field); }
    QFrame* frame() const { return Combo_Record(field)->frame(); }
    QWidget* focus() const { return QApplication::focusWidget(); }
    QStringList items() const
    {
        QStringList texts;
        for (int i = 0; i < list()->count(); ++i)
            texts << list()->itemText(i);
        return texts;
    }
};

QVariant get(QLineEdit* field, int attribute)
{
    QVariant value;
    const int rc = Combo_GetComboAttribute(field, attribute, &value);
    return rc < 0 ? QVariant(rc) : value;
}

}  // namespace

class ComboBoxTest : public QObject {
    Q_OBJECT
private slots:
    void newComboBoxPutsButtonLeftOfFieldAndFirstInTabOrder();
    void newComboBoxRefusesRepeatedOrUnusableControl();
    void typingCompletesFromFirstMatchingItem_data();
    void typingCompletesFromFirstMatchingItem();
    void arrowKeyOpensListWhichKeepsFocus();
    void tabOntoButtonLandsInField();
    void shiftTabSkipsBackOverButton_data();
    void shiftTabSkipsBackOverButton();
    void pickCopiesItemCutToMaxLengthAndCommits();
    void enterOrLeavingAfterEditCommits();
    void itemOperationsCheckIndexAndCount();
    void attributeNumbersAreChecked_data();
    void attributeNumbersAreChecked();
    void attributeRoundTrip_data();
    void attributeRoundTrip();
    void geometryAndPointSizeMoveWholeCombo();
    void visibilityCoversFieldListAndFrame();
    void buttonFollowsFieldPlacedByLayout();
};

void ComboBoxTest::newComboBoxPutsButtonLeftOfFieldAndFirstInTabOrder()
{
    Panel p;
    QCOMPARE(p.field->geometry(), QRect(200, 10, 150, 22));  // the field stays put
    QCOMPARE(p.list()->geometry(), QRect(200 - 22, 10, 22, 22));
    QCOMPARE(p.frame()->geometry(), QRect(200 - 22 - 1, 9, 150 + 22 + 2, 24));
    QVERIFY(!p.list()->isEditable());

    QCOMPARE(p.second->nextInFocusChain(), static_cast<QWidget*>(p.list()));
    QCOMPARE(p.list()->nextInFocusChain(), static_cast<QWidget*>(p.field));

    const QColor frameColour = p.field->palette().color(QPalette::Window);
    QCOMPARE(p.frame()->palette().color(QPalette::WindowText), frameColour);
    QCOMPARE(p.list()->palette().color(QPalette::Button), frameColour);
}

void ComboBoxTest::newComboBoxRefusesRepeatedOrUnusableControl()
{
    Panel p;
    QCOMPARE(Combo_NewComboBox(p.field), ComboErrNotComboBox);
    QCOMPARE(p.window.findChildren<QComboBox*>().size(), 1);
    QCOMPARE(Combo_NewComboBox(nullptr), ComboErrNotComboBox);
    QLineEdit alone;
    QCOMPARE(Combo_NewComboBox(&alone), ComboErrNotComboBox);

    QVariant value;
    QCOMPARE(Combo_InsertComboItem(p.first, -1, "x"), ComboErrNotComboBox);
    QCOMPARE(Combo_GetComboAttribute(p.first, ComboVisible, &value), ComboErrNotComboBox);
    QVERIFY(!Combo_ListControl(p.first));
}

void ComboBoxTest::typingCompletesFromFirstMatchingItem_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QTestEventList>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("selected");

    auto keys = [](const QString& typed) {
        QTestEventList list;
        list.addKeyClicks(typed);
        return list;
    };
    const QStringList alphaAc{"alpha", "ac"};
    QTest::newRow("first match, tail selected") << alphaAc << -1 << keys("a") << "alpha"
                                                << "lpha";
    QTest::newRow("typing on replaces tail") << alphaAc << -1 << keys("al") << "alpha"
                                             << "pha";
    QTest::newRow("later item once first fails") << alphaAc << -1 << keys("ac") << "ac"
                                                 << "";
    QTest::newRow("no match") << alphaAc << -1 << keys("alx") << "alx"
                              << "";
    QTest::newRow("list order decides") << QStringList{"ac", "alpha"} << -1 << keys("a") << "ac"
                                        << "c";
    QTest::newRow("case-insensitive, typed case kept") << QStringList{"ALPHA"} << -1 << keys("a") << "aLPHA"
                                                       << "LPHA";
    QTest::newRow("one-character item never completes") << QStringList{"x", "xylo"} << -1 << keys("x") << "x"
                                                        << "";
    QTest::newRow("tail cut to max length") << QStringList{"alphabet"} << 4 << keys("a") << "alph"
                                            << "lph";

    for (auto [name, key] : {std::pair{"Backspace", Qt::Key_Backspace}, std::pair{"Delete", Qt::Key_Delete}}) {
        QTestEventList stop = keys("a");
        stop.addKeyClick(key);
        QTest::addRow("%s stops completion", name) << alphaAc << -1 << stop << "a"
                                                   << "";
        QTestEventList resume = stop;
        resume.addKeyClick('l');
        QTest::addRow("%s, next key completes again", name) << alphaAc << -1 << resume << "alpha"
                                                            << "pha";
    }

    // Cutting everything leaves empty text, which matches the first item.
    QTestEventList cutAll = keys("q");
    cutAll.addKeyClick(Qt::Key_A, Qt::ControlModifier);
    cutAll.addKeyClick(Qt::Key_X, Qt::ControlModifier);
    QTest::newRow("empty text offers first item") << QStringList{"alpha", "beta"} << -1 << cutAll << "alpha"
                                                  << "alpha";
    QTest::newRow("empty text, one-character first item") << QStringList{"x", "alpha"} << -1 << cutAll << ""
                                                          << "";
}

void ComboBoxTest::typingCompletesFromFirstMatchingItem()
{
    QFETCH(QStringList, items);
    QFETCH(int, maxLength);
    QFETCH(QTestEventList, keys);
    QFETCH(QString, text);
    QFETCH(QString, selected);

    Panel p(items);
    QCOMPARE(Combo_SetComboAttribute(p.field, ComboMaxEntryLength, maxLength), 0);
    keys.simulate(p.field);
    QCOMPARE(p.field->text(), text);
    QCOMPARE(p.field->selectedText(), selected);
}

void ComboBoxTest::arrowKeyOpensListWhichKeepsFocus()
{
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up}) {
        Panel p({"alpha", "beta"});
        QVERIFY(p.show());
        QTest::keyClick(p.field, key);
        QTRY_VERIFY(p.list()->view()->isVisible());
        QTest::keyClick(p.list()->view(), Qt::Key_Escape);
        QTRY_VERIFY(!p.list()->view()->isVisible());
        QCOMPARE(p.focus(), static_cast<QWidget*>(p.list()));
        QCOMPARE(p.field->text(), QString());
    }
}

void ComboBoxTest::tabOntoButtonLandsInField()
{
    Panel p;
    QVERIFY(p.show());
    p.second->setFocus();
    QTest::keyClick(p.second, Qt::Key_Tab);
    QCOMPARE(p.focus(), static_cast<QWidget*>(p.field));
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
    p.first->setEnabled(!firstDimmed);
    p.second->setEnabled(!secondDimmed);
    p.second->setHidden(secondHidden);
    QVERIFY(p.show());
    QTest::keyClick(p.field, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(p.focus()->objectName(), target);
}

void ComboBoxTest::pickCopiesItemCutToMaxLengthAndCommits()
{
    Panel p({"short", "sensor-line-7.plant"});
    QCOMPARE(Combo_SetComboAttribute(p.field, ComboMaxEntryLength, 6), 0);
    QVERIFY(p.show());
    QSignalSpy committed(Combo_Record(p.field), &ComboBox::committed);
    QSignalSpy changed(Combo_Record(p.field), &ComboBox::valueChanged);
    QAbstractItemView* view = p.list()->view();

    for (int pick = 0; pick < 2; ++pick) {  // the second time the same item again
        p.field->setFocus();
        QTest::keyClick(p.field, Qt::Key_Down);
        QTRY_VERIFY(view->isVisible());
        view->setCurrentIndex(p.list()->model()->index(1, 0));
        QTest::keyClick(view, Qt::Key_Return);
        QTRY_VERIFY(!view->isVisible());
        QCOMPARE(p.field->text(), "sensor");
        QCOMPARE(p.focus(), static_cast<QWidget*>(p.field));
    }
    QCOMPARE(committed.count(), 2);
    QCOMPARE(changed.count(), 1);  // only the first pick changed the selection
}

void ComboBoxTest::enterOrLeavingAfterEditCommits()
{
    Panel p;
    QVERIFY(p.show());
    QSignalSpy committed(Combo_Record(p.field), &ComboBox::committed);
    QSignalSpy changed(Combo_Record(p.field), &ComboBox::valueChanged);

    QTest::keyClicks(p.field, "10.0.0.5");
    QCOMPARE(changed.count(), 8);
    QTest::keyClick(p.field, Qt::Key_Return);
    QCOMPARE(committed.count(), 1);
    p.after->setFocus();  // nothing edited since Enter
    QCOMPARE(committed.count(), 1);

    p.field->setFocus();
    QTest::keyClick(p.field, '1');
    p.after->setFocus();
    QCOMPARE(committed.count(), 2);
}

void ComboBoxTest::itemOperationsCheckIndexAndCount()
{
    Panel p({"b"});
    QLineEdit* f = p.field;
    QCOMPARE(Combo_InsertComboItem(f, 0, "a"), 0);
    QCOMPARE(Combo_InsertComboItem(f, -1, "c"), 0);
    QCOMPARE(Combo_InsertComboItem(f, 4, "d"), ComboErrOutOfRange);
    QCOMPARE(Combo_ReplaceComboItem(f, 3, "d"), ComboErrOutOfRange);
    QCOMPARE(p.items(), (QStringList{"a", "b", "c"}));

    int index = 99;
    QCOMPARE(Combo_GetIndexFromValue(f, &index, "b"), 0);
    QCOMPARE(index, 1);
    QCOMPARE(Combo_GetIndexFromValue(f, &index, "B"), 0);
    QCOMPARE(index, -1);

    QCOMPARE(Combo_DeleteComboItem(f, 0, 4), ComboErrOutOfRange);
    QCOMPARE(Combo_DeleteComboItem(f, 3, -1), 0);  // nothing from the end on
    QCOMPARE(Combo_DeleteComboItem(f, 1, -1), 0);
    QCOMPARE(p.items(), QStringList{"a"});
}

void ComboBoxTest::attributeNumbersAreChecked_data()
{
    QTest::addColumn<int>("attribute");
    QTest::addColumn<int>("setResult");
    QTest::addColumn<int>("getResult");
    QTest::newRow("0") << 0 << ComboErrBadAttribute << ComboErrBadAttribute;
    QTest::newRow("15") << 15 << ComboErrBadAttribute << ComboErrBadAttribute;
    QTest::newRow("height is read only") << 1 << ComboErrBadAttribute << 0;
    QTest::newRow("style 6 is read only") << 6 << ComboErrBadAttribute << 0;
}

void ComboBoxTest::attributeNumbersAreChecked()
{
    QFETCH(int, attribute);
    QFETCH(int, setResult);
    QFETCH(int, getResult);
    Panel p;
    QVariant value;
    QCOMPARE(Combo_SetComboAttribute(p.field, attribute, 1), setResult);
    QCOMPARE(Combo_GetComboAttribute(p.field, attribute, &value), getResult);
}

void ComboBoxTest::attributeRoundTrip_data()
{
    QTest::addColumn<int>("attribute");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("frame colour") << 4 << QVariant(0xE0E0E0);
    QTest::newRow("font family") << 5 << QVariant(QString("Monospace"));
    QTest::newRow("italic") << 8 << QVariant(true);
    QTest::newRow("dimmed") << 13 << QVariant(true);
    QTest::newRow("max length") << 14 << QVariant(10);
    QTest::newRow("unlimited length") << 14 << QVariant(-1);
}

void ComboBoxTest::attributeRoundTrip()
{
    QFETCH(int, attribute);
    QFETCH(QVariant, value);
    Panel p;
    QCOMPARE(Combo_SetComboAttribute(p.field, attribute, value), 0);
    QCOMPARE(get(p.field, attribute), value);
}

void ComboBoxTest::geometryAndPointSizeMoveWholeCombo()
{
    Panel p;
    QLineEdit* f = p.field;
    QCOMPARE(Combo_SetComboAttribute(f, ComboWidth, 300), 0);
    QCOMPARE(Combo_SetComboAttribute(f, ComboLeft, 20), 0);
    QCOMPARE(Combo_SetComboAttribute(f, ComboTop, 40), 0);
    QCOMPARE(p.frame()->geometry(), QRect(20, 40, 300, 24));
    QCOMPARE(p.list()->pos(), QPoint(21, 41));
    QCOMPARE(f->geometry(), QRect(21 + 22, 41, 300 - 22 - 2, 22));
    QCOMPARE(Combo_SetComboAttribute(f, ComboLeft, QString("left")), ComboErrOutOfRange);

    // A bigger font: the frame keeps its left edge, the square button grows,
    // the field moves right of it.
    QCOMPARE(Combo_SetComboAttribute(f, ComboTextPointSize, 28), 0);
    const int side = f->height();
    QVERIFY(side > 22);
    QCOMPARE(p.list()->font().pointSize(), 28);
    QCOMPARE(p.list()->geometry(), QRect(21, 41, side, side));
    QCOMPARE(f->x(), 21 + side);
    QCOMPARE(get(f, ComboHeight), QVariant(side + 2));
    QCOMPARE(get(f, ComboLeft), QVariant(20));
}

void ComboBoxTest::visibilityCoversFieldListAndFrame()
{
    Panel p;
    QVERIFY(p.show());
    const QList<QWidget*> parts{p.field, p.list(), p.frame()};
    auto visible = [&parts] {
        int n = 0;
        for (QWidget* w : parts)
            n += w->isVisible();
        return n;
    };
    QCOMPARE(Combo_SetComboAttribute(p.field, ComboVisible, false), 0);
    QCOMPARE(visible(), 0);
    QCOMPARE(get(p.field, ComboVisible), QVariant(false));
    QCOMPARE(Combo_SetComboAttribute(p.field, ComboVisible, true), 0);
    QCOMPARE(visible(), 3);

    // Code that hides the field itself takes button and frame along.
    p.field->hide();
    QCOMPARE(visible(), 0);
    p.field->show();
    QCOMPARE(visible(), 3);
}

void ComboBoxTest::buttonFollowsFieldPlacedByLayout()
{
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addSpacing(40);  // room for the button
    auto* field = new QLineEdit(&window);
    layout->addWidget(field);
    QCOMPARE(Combo_NewComboBox(field), 0);
    window.resize(300, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    window.resize(500, 40);
    QTRY_COMPARE(field->width(), 460);
    const int side = field->height();
    QCOMPARE(Combo_ListControl(field)->geometry(), QRect(field->x() - side, field->y(), side, side));
    QCOMPARE(Combo_Record(field)->frame()->width(), 460 + side + 2);
}

QTEST_MAIN(ComboBoxTest)
#include "tst_combobox.moc"
