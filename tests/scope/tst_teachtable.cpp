// The teach table on the real main panel: teaching a row from the last
// measured values, auto increment, reset, active-row colours, and a cell
// edited by hand that reaches the sensor.
#include "paneltestutil.h"
#include "scopefixture.h"
#include "ui_P.h"

#include <QDoubleSpinBox>

using namespace tarvo;
using tarvo::test::choose;
using tarvo::test::commit;
using tarvo::test::ScopeFixture;

namespace {
double cell(const Ui::P& p, int row, int col)
{
    return p.TeachTable->item(row, col)->data(Qt::EditRole).toDouble();
}
}  // namespace

class TeachTableTest : public QObject {
    Q_OBJECT
private slots:
    void teachWritesTheLastMeasuredValues_data();
    void teachWritesTheLastMeasuredValues();
    void resetClearsEveryCellAndTheRowNumber();
    void vectorCountColoursTheRowLabels();
    void editedCellTravelsToTheSensor();
};

void TeachTableTest::teachWritesTheLastMeasuredValues_data()
{
    QTest::addColumn<int>("evalmode");
    QTest::addColumn<int>("pmod");
    QTest::addColumn<int>("trigger");
    QTest::addColumn<int>("no");
    QTest::addColumn<bool>("autoInc");
    QTest::addColumn<QList<double>>("row");  // cells 3 and 4 held 7 before
    QTest::addColumn<int>("nextNo");
    QTest::newRow("vector STAT") << 0 << 0 << 0 << 5 << true << QList<double>{512, 25, 1800, 100} << 6;
    QTest::newRow("vector DYN") << 0 << 1 << 0 << 5 << true << QList<double>{512, 25, 1800, 20} << 6;
    QTest::newRow("gloss CONT") << 1 << 0 << 0 << 5 << true << QList<double>{87.6, 2, 7, 7} << 6;
    QTest::newRow("gloss SELF") << 1 << 0 << 1 << 5 << true << QList<double>{87.6, 2, 3, 7} << 6;
    QTest::newRow("gloss EXT3") << 1 << 0 << 4 << 5 << true << QList<double>{87.6, 2, 3, 7} << 6;
    QTest::newRow("last row stays") << 1 << 0 << 0 << 30 << true << QList<double>{87.6, 2, 7, 7} << 30;
    QTest::newRow("no auto increment") << 1 << 0 << 0 << 3 << false << QList<double>{87.6, 2, 7, 7} << 3;
}

void TeachTableTest::teachWritesTheLastMeasuredValues()
{
    QFETCH(int, evalmode);
    QFETCH(int, pmod);
    QFETCH(int, trigger);
    QFETCH(int, no);
    QFETCH(bool, autoInc);
    QFETCH(QList<double>, row);
    QFETCH(int, nextNo);
    ScopeFixture f;
    f.settingsToNowhere();
    ScopeApp& app = f.start();
    Ui::P& p = *app.panel().ui;
    choose(p.Evalmode, evalmode);
    choose(p.EditPmode, pmod);
    choose(p.EditTrigger, trigger);
    p.ParaVisible->click();
    app.measured().dataNorm = 512, app.measured().dataInt = 1800, app.measured().dataGfDouble = 87.6;
    p.TeachTable->item(no, 2)->setData(Qt::EditRole, 7.0);
    p.TeachTable->item(no, 3)->setData(Qt::EditRole, 7.0);
    p.EditNo->setValue(no);
    if (!autoInc)
        p.RadioInc->click();

    QTest::mouseClick(p.ButtonTeachDataTo, Qt::LeftButton);
    QCOMPARE(QList<double>({cell(p, no, 0), cell(p, no, 1), cell(p, no, 2), cell(p, no, 3)}), row);
    QCOMPARE(p.EditNo->value(), nextNo);
}

void TeachTableTest::resetClearsEveryCellAndTheRowNumber()
{
    ScopeFixture f;
    f.settingsToNowhere();
    Ui::P& p = *f.start().panel().ui;  // gloss mode: cells dimmed, still reset
    for (int r = 0; r < 31; ++r)
        for (int c = 0; c < 4; ++c)
            p.TeachTable->item(r, c)->setData(Qt::EditRole, r + c + 1.5);
    p.EditNo->setValue(17);
    QVERIFY(!(p.TeachTable->item(0, 0)->flags() & Qt::ItemIsEditable));
    p.ParaVisible->click();
    QTest::mouseClick(p.ButtonResetTable, Qt::LeftButton);
    int zeros = 0;
    for (int r = 0; r < 31; ++r)
        for (int c = 0; c < 4; ++c)
            zeros += cell(p, r, c) == 0.0;
    QCOMPARE(zeros, 124);
    QCOMPARE(p.EditNo->value(), 0);
}

void TeachTableTest::vectorCountColoursTheRowLabels()
{
    ScopeFixture f;
    f.settingsToNowhere();
    Ui::P& p = *f.start().panel().ui;
    for (int maxno : {0, 31}) {
        commit(p.EditMaxNo, maxno);
        for (int r = 0; r < 31; ++r)
            QCOMPARE(p.TeachTable->verticalHeaderItem(r)->foreground().color(), QColor(maxno ? 0x008000 : 0xff0000));
    }
    QCOMPARE(f.dialogs->shown.size(), 0);  // BINARY allows all 31
}

void TeachTableTest::editedCellTravelsToTheSensor()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    Ui::P& p = *app.panel().ui;
    choose(p.Evalmode, 0);  // vector mode: cells can be edited
    p.ParaVisible->click();
    p.TeachTable->setFocus();
    p.TeachTable->setCurrentCell(7, 2);
    QTest::keyClick(p.TeachTable, Qt::Key_F2);
    auto* editor = p.TeachTable->findChild<QDoubleSpinBox*>();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("2345"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(cell(p, 7, 2), 2345.0);  // the view commits the editor's value queued

    QTest::mouseClick(p.ButtonSend, Qt::LeftButton);
    QCOMPARE(f.sensor->teachTable()[7][2], quint16(2345));
    QCOMPARE(f.sensor->parameters()[sim::Evalmode], quint16(0));
}

QTEST_MAIN(TeachTableTest)
#include "tst_teachtable.moc"
