#include "righthelp.h"
#include "scripteddialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

using namespace tarvo;

namespace {
// The table all panels of a test share, as a program shares its one.
RightClickHelp& sharedHelp()
{
    static RightClickHelp help;
    return help;
}

// Counts the presses that reach it.
class PressCounter final : public QWidget {
public:
    using QWidget::QWidget;
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

struct Panel {
    QWidget window;
    explicit Panel(bool install = true)
    {
        window.resize(400, 300);
        add<QPushButton>("ButtonAccept", {10, 10, 100, 25});
        add<QSpinBox>("EditSelectComPort", {10, 50, 100, 25});
        add<QTableWidget>("GridMeasuredValues", {10, 90, 200, 120});
        add<QLineEdit>("StringIpAdress", {120, 10, 150, 25});
        add<PressCounter>("DispGF", {250, 50, 60, 30});
        add<PressCounter>("Unlisted", {320, 50, 60, 30});
        add<QPushButton>("Evalmode", {120, 50, 100, 25});
        if (install)
            sharedHelp().install(&window);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("panel not shown");
    }
    template <class W>
    W* add(const QString& name, QRect geometry)
    {
        auto* w = new W(&window);
        w->setObjectName(name);
        w->setGeometry(geometry);
        w->show();
        return w;
    }
    template <class W = QWidget>
    W* control(const QString& name) const
    {
        return window.findChild<W*>(name);
    }
};

}  // namespace

class RightHelpTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { m_dialogs = &test::installScriptedDialogs(); }
    void cleanup() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void rightClickShowsTheControlsHelp_data();
    void rightClickShowsTheControlsHelp();
    void rightClickIsSwallowedWithoutContextMenu();
    void otherClicksControlsAndPanelsBehaveNormally();

private:
    test::ScriptedDialogs* m_dialogs = nullptr;
};

void RightHelpTest::initTestCase()
{
    RightClickHelp& help = sharedHelp();
    help.add("ButtonAccept", " Accept settings and return to main panel.");
    help.add("EditSelectComPort", " Select a serial COM-PORT.");
    help.add("GridMeasuredValues", " Insert measured values. \n ATTENTION!!! Fill not used cells with -1.");
    help.add("StringIpAdress", " Select a Server by name or IP address.");
    help.add("DispGF", " Displays the current gloss factor. ", "Info");
    help.add("ButtonLater", " Added later.");
    help.add("Evalmode", "See Manual.");
    help.setGuideTopic("Evalmode", "parameters.html#evalmode");
}

void RightHelpTest::rightClickShowsTheControlsHelp_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QLocale>("locale");  // the program's language
    QTest::addColumn<QString>("page");    // the guide's page the box opens; empty: none
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("button") << "ButtonAccept"
                            << "INFO!"
                            << " Accept settings and return to main panel." << english << QString();
    QTest::newRow("spin box's line edit") << "EditSelectComPort"
                                          << "INFO!"
                                          << " Select a serial COM-PORT." << english << QString();
    QTest::newRow("table's viewport") << "GridMeasuredValues"
                                      << "INFO!"
                                      << " Insert measured values. \n ATTENTION!!! Fill not used cells with -1."
                                      << english << QString();
    QTest::newRow("own title") << "DispGF"
                               << "Info"
                               << " Displays the current gloss factor. " << english << QString();
    QTest::newRow("control added later") << "ButtonLater"
                                         << "INFO!"
                                         << " Added later." << english << QString();
    QTest::newRow("see manual: the guide at its topic")
        << "Evalmode"
        << "INFO!"
        << "See Manual." << english << "/guide/parameters.html#evalmode";
    // Run in German, the same topic opens in the German guide beside the English one.
    QTest::newRow("see manual, in German: the German page")
        << "Evalmode"
        << "INFO!"
        << "See Manual." << QLocale(QLocale::German, QLocale::Germany) << "/guide/de/parameters.html#evalmode";
}

void RightHelpTest::rightClickShowsTheControlsHelp()
{
    QFETCH(QString, control);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QLocale, locale);
    QFETCH(QString, page);

    QLocale::setDefault(locale);
    Panel p;
    if (control == "ButtonLater")
        p.add<QPushButton>(control, {10, 230, 100, 25});
    QWidget* target = p.control(control);
    if (auto* spin = qobject_cast<QSpinBox*>(target))
        target = spin->findChild<QLineEdit*>();
    if (auto* table = qobject_cast<QTableWidget*>(target))
        target = table->viewport();

    const bool manual = !page.isEmpty();
    m_dialogs->confirmAnswers << true;  // the guide, when offered
    QTest::mouseClick(target, Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(m_dialogs->shown.size(), manual ? 2 : 1);
    QCOMPARE(m_dialogs->shown[0].kind, manual ? "offer" : "message");
    QCOMPARE(m_dialogs->shown[0].title, title);
    QVERIFY(m_dialogs->shown[0].text.startsWith(text));
    if (manual) {
        QCOMPARE(m_dialogs->shown[1].kind, "url");
        QVERIFY2(m_dialogs->shown[1].text.endsWith(page), qPrintable(m_dialogs->shown[1].text));
    }
    // The same text is the control's tooltip.
    QCOMPARE(p.control(control)->toolTip(), text.trimmed());
}

void RightHelpTest::rightClickIsSwallowedWithoutContextMenu()
{
    Panel p;
    auto* counter = p.control<PressCounter>("DispGF");
    QTest::mouseClick(counter, Qt::RightButton);
    QCOMPARE(counter->presses, 0);

    // The platform follows a right press with a context-menu event, on which
    // a line edit would open its menu; a menu that opens is noted and closed.
    QWidget* edit = p.control("StringIpAdress");
    bool menuOpened = false;
    QTimer::singleShot(0, [&menuOpened] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            menuOpened = true;
            popup->close();
        }
    });
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), edit->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(edit, &menuEvent);
    QCoreApplication::processEvents();
    QVERIFY(!menuOpened);
}

void RightHelpTest::otherClicksControlsAndPanelsBehaveNormally()
{
    Panel p;
    auto* listed = p.control<PressCounter>("DispGF");
    QTest::mouseClick(listed, Qt::LeftButton);
    QCOMPARE(listed->presses, 1);

    auto* unlisted = p.control<PressCounter>("Unlisted");
    QTest::mouseClick(unlisted, Qt::RightButton);
    QCOMPARE(unlisted->presses, 1);

    Panel other(false);  // same names, never installed
    auto* elsewhere = other.control<PressCounter>("DispGF");
    QTest::mouseClick(elsewhere, Qt::RightButton);
    QCOMPARE(elsewhere->presses, 1);

    QVERIFY(m_dialogs->shown.isEmpty());
}

QTEST_MAIN(RightHelpTest)
#include "tst_righthelp.moc"
