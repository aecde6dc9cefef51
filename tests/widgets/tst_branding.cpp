#include "branding.h"
#include "brandingtables.h"
#include "scripteddialogs.h"

#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

using namespace tarvo;

namespace {

// A main panel with the two controls the branding looks for.
struct Panel {
    QWidget window;
    QFrame* banner;
    QLabel* picture;

    Panel()
    {
        window.resize(1000, 300);
        banner = new QFrame(&window);
        banner->setObjectName("LogoBanner");
        banner->setGeometry(0, 0, 1000, 64);
        QPalette palette = banner->palette();
        palette.setColor(QPalette::Window, QColor(0x20, 0x40, 0x60));
        banner->setPalette(palette);
        picture = new QLabel(&window);
        picture->setObjectName("LogoPicture");
        picture->setGeometry(10, 10, 160, 54);
    }
    QList<QLabel*> texts() const { return window.findChildren<QLabel*>("InfoText"); }
    QColor bannerColour() const { return banner->palette().color(QPalette::Window); }
};

} // namespace

class BrandingTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::installScriptedDialogs(); }
    void rowZeroShowsOnlyTheTitle_data();
    void rowZeroShowsOnlyTheTitle();
    void variantOutsideTableChangesNothing_data();
    void variantOutsideTableChangesNothing();
    void secondCallAddsSecondSetOfTexts();
    void everyRowStartsWithTheProgramTitle_data();
    void everyRowStartsWithTheProgramTitle();
    void infoTextStylesDifferInColoursOnly_data();
    void infoTextStylesDifferInColoursOnly();
    void namedBitmapIsShownAndMissingOneLeavesPictureEmpty();
};

void BrandingTest::rowZeroShowsOnlyTheTitle_data()
{
    QTest::addColumn<bool>("scope");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("left");
    QTest::newRow("scope") << true << "TARVO-Scope 4.3" << 280;
    QTest::newRow("tool") << false << "TARVO-TEMPCOMP-Scope V4.3" << 240;
}

void BrandingTest::rowZeroShowsOnlyTheTitle()
{
    QFETCH(bool, scope);
    QFETCH(QString, title);
    QFETCH(int, left);

    Panel p;
    ShowLogo(&p.window, scope ? scopeBrandingTable() : toolBrandingTable(), 0);

    QCOMPARE(p.bannerColour(), QColor(Qt::white));
    QCOMPARE(p.picture->pos(), QPoint(800, 5));
    QVERIFY(p.picture->pixmap().isNull());

    const QList<QLabel*> texts = p.texts();
    QCOMPARE(texts.size(), 1);
    QLabel* label = texts.first();
    QCOMPARE(label->text(), title);
    QCOMPARE(label->pos(), QPoint(left, 20));
    QCOMPARE(label->font().pointSize(), 22);
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
}

void BrandingTest::variantOutsideTableChangesNothing_data()
{
    QTest::addColumn<bool>("scope");
    QTest::addColumn<int>("variant");
    QTest::newRow("scope -1") << true << -1;
    QTest::newRow("scope past last row") << true << 12;
    QTest::newRow("tool -1") << false << -1;
    QTest::newRow("tool past last row") << false << 11;
}

void BrandingTest::variantOutsideTableChangesNothing()
{
    QFETCH(bool, scope);
    QFETCH(int, variant);

    Panel p;
    const QColor banner = p.bannerColour();
    const int children = p.window.children().size();
    ShowLogo(&p.window, scope ? scopeBrandingTable() : toolBrandingTable(), variant);

    QCOMPARE(p.bannerColour(), banner);
    QCOMPARE(p.picture->pos(), QPoint(10, 10));
    QCOMPARE(p.window.children().size(), children);
}

void BrandingTest::secondCallAddsSecondSetOfTexts()
{
    Panel p;
    const BrandingRow& row = scopeBrandingTable()[ScopeBrandingVariant];
    ShowLogo(&p.window, scopeBrandingTable(), ScopeBrandingVariant);
    const int once = p.texts().size();
    QCOMPARE(once, int(row.lines.size()));
    ShowLogo(&p.window, scopeBrandingTable(), ScopeBrandingVariant);
    QCOMPARE(p.texts().size(), 2 * once);
}

void BrandingTest::everyRowStartsWithTheProgramTitle_data()
{
    QTest::addColumn<bool>("scope");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("title");
    QTest::newRow("scope") << true << 12 << "TARVO-Scope 4.3";
    QTest::newRow("tool") << false << 11 << "TARVO-TEMPCOMP-Scope V4.3";
}

void BrandingTest::everyRowStartsWithTheProgramTitle()
{
    QFETCH(bool, scope);
    QFETCH(int, rows);
    QFETCH(QString, title);
    const BrandingTable& table = scope ? scopeBrandingTable() : toolBrandingTable();
    QCOMPARE(int(table.size()), rows);
    for (const BrandingRow& row : table) {
        QVERIFY(!row.lines.empty() && row.lines.size() <= 4);
        QCOMPARE(row.lines.front().text, title);
        for (const InfoTextLine& line : row.lines)
            QVERIFY(line.style >= 1 && line.style <= 3);
    }
}

void BrandingTest::infoTextStylesDifferInColoursOnly_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QColor>("ink");
    QTest::addColumn<bool>("filled");
    QTest::newRow("1 grey on white") << 1 << QColor(0x80, 0x80, 0x80) << true;
    QTest::newRow("2 black on white") << 2 << QColor(Qt::black) << true;
    QTest::newRow("3 white on transparent") << 3 << QColor(Qt::white) << false;
}

void BrandingTest::infoTextStylesDifferInColoursOnly()
{
    QFETCH(int, style);
    QFETCH(QColor, ink);
    QFETCH(bool, filled);

    Panel p;
    using Fn = QLabel* (*)(QWidget*, int, const QString&, int, int, int);
    const Fn show[] = {ShowInfoText1, ShowInfoText2, ShowInfoText3};
    QLabel* label = show[style - 1](&p.window, 7, "Line", 30, 40, 13);

    QVERIFY(label);
    QCOMPARE(label->parentWidget(), &p.window);
    QCOMPARE(label->text(), "Line");
    QCOMPARE(label->pos(), QPoint(30, 40));
    QCOMPARE(label->font().family(), QApplication::font().family());
    QCOMPARE(label->font().pointSize(), 13);
    QCOMPARE(label->palette().color(QPalette::WindowText), ink);
    QCOMPARE(label->autoFillBackground(), filled);
    if (filled)
        QCOMPARE(label->palette().color(QPalette::Window), QColor(Qt::white));
}

void BrandingTest::namedBitmapIsShownAndMissingOneLeavesPictureEmpty()
{
    auto& dialogs = test::installScriptedDialogs();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("logo.png");
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(file));

    const InfoTextLine title{"Title", 2, 10, 10, 12};
    const BrandingTable table{BrandingRow{0xFFFFFF, 5, 800, file, {title}},
                              BrandingRow{0x00FF00, 6, 700, dir.filePath("missing.png"), {title}}};

    Panel shown;
    ShowLogo(&shown.window, table, 0);
    QCOMPARE(shown.picture->pixmap().size(), QSize(40, 20));

    Panel missing;
    ShowLogo(&missing.window, table, 1);
    QVERIFY(missing.picture->pixmap().isNull());
    QCOMPARE(missing.picture->pos(), QPoint(700, 6));
    QCOMPARE(missing.bannerColour(), QColor(0, 0xFF, 0));
    QCOMPARE(missing.texts().size(), 1); // start-up goes on
    QVERIFY(dialogs.shown.isEmpty());
}

QTEST_MAIN(BrandingTest)
#include "tst_branding.moc"
