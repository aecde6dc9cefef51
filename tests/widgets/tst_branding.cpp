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
    QFrame* banner = new QFrame(&window);
    QLabel* picture = new QLabel(&window);

    Panel()
    {
        banner->setObjectName("LogoBanner");
        QPalette palette = banner->palette();
        palette.setColor(QPalette::Window, QColor(0x204060));
        banner->setPalette(palette);
        picture->setObjectName("LogoPicture");
        picture->move(10, 10);
    }
    QList<QLabel*> texts() const { return window.findChildren<QLabel*>("InfoText"); }
    QColor bannerColour() const { return banner->palette().color(QPalette::Window); }
};

const BrandingTable& table(bool scope)
{
    return scope ? scopeBrandingTable() : toolBrandingTable();
}

}  // namespace

class BrandingTest : public QObject {
    Q_OBJECT
private slots:
    void rowZeroShowsOnlyTheTitle_data();
    void rowZeroShowsOnlyTheTitle();
    void variantOutsideTableChangesNothing_data();
    void variantOutsideTableChangesNothing();
    void secondCallAddsSecondSetOfTexts();
    void infoTextStylesDifferInColoursOnly_data();
    void infoTextStylesDifferInColoursOnly();
    void bitmapShownWhenItLoadsElsePictureStaysEmpty();
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
    ShowLogo(&p.window, table(scope), 0);
    QCOMPARE(p.bannerColour(), QColor(Qt::white));
    QCOMPARE(p.picture->pos(), QPoint(800, 5));
    QVERIFY(p.picture->pixmap().isNull());

    QCOMPARE(p.texts().size(), 1);
    QLabel* label = p.texts().first();
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
    QTest::newRow("scope past row 11") << true << 12;
    QTest::newRow("tool -1") << false << -1;
    QTest::newRow("tool past row 10") << false << 11;
}

void BrandingTest::variantOutsideTableChangesNothing()
{
    QFETCH(bool, scope);
    QFETCH(int, variant);
    Panel p;
    const QColor banner = p.bannerColour();
    const auto children = p.window.children().size();
    ShowLogo(&p.window, table(scope), variant);
    QCOMPARE(p.bannerColour(), banner);
    QCOMPARE(p.picture->pos(), QPoint(10, 10));
    QCOMPARE(p.window.children().size(), children);
}

void BrandingTest::secondCallAddsSecondSetOfTexts()
{
    Panel p;
    const BrandingRow& row = scopeBrandingTable()[ScopeBrandingVariant];
    QCOMPARE(row.lines.front().text, "TARVO-Scope 4.3");
    ShowLogo(&p.window, scopeBrandingTable(), ScopeBrandingVariant);
    QCOMPARE(p.texts().size(), int(row.lines.size()));
    ShowLogo(&p.window, scopeBrandingTable(), ScopeBrandingVariant);
    QCOMPARE(p.texts().size(), 2 * int(row.lines.size()));
}

void BrandingTest::infoTextStylesDifferInColoursOnly_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QColor>("ink");
    QTest::addColumn<bool>("onWhite");
    QTest::newRow("1 grey on white") << 1 << QColor(0x808080) << true;
    QTest::newRow("2 black on white") << 2 << QColor(Qt::black) << true;
    QTest::newRow("3 white on transparent") << 3 << QColor(Qt::white) << false;
}

void BrandingTest::infoTextStylesDifferInColoursOnly()
{
    QFETCH(int, style);
    QFETCH(QColor, ink);
    QFETCH(bool, onWhite);

    Panel p;
    const BrandingTable styled{BrandingRow{0xFFFFFF, 5, 800, QString(), {{"Line", style, 30, 40, 13}}}};
    ShowLogo(&p.window, styled, 0);
    QCOMPARE(p.texts().size(), 1);
    QLabel* label = p.texts().first();
    QCOMPARE(label->pos(), QPoint(30, 40));
    QCOMPARE(label->font().family(), QApplication::font().family());
    QCOMPARE(label->font().pointSize(), 13);
    QCOMPARE(label->palette().color(QPalette::WindowText), ink);
    QCOMPARE(label->autoFillBackground(), onWhite);
    if (onWhite)
        QCOMPARE(label->palette().color(QPalette::Window), QColor(Qt::white));
}

void BrandingTest::bitmapShownWhenItLoadsElsePictureStaysEmpty()
{
    auto& dialogs = test::installScriptedDialogs();
    QTemporaryDir dir;
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(dir.filePath("logo.png")));
    const InfoTextLine title{"Title", 2, 10, 10, 12};
    const BrandingTable rows{BrandingRow{0xFFFFFF, 5, 800, dir.filePath("logo.png"), {title}},
                             BrandingRow{0x00FF00, 6, 700, dir.filePath("missing.png"), {title}}};

    Panel shown;
    ShowLogo(&shown.window, rows, 0);
    QCOMPARE(shown.picture->pixmap().size(), QSize(40, 20));

    Panel missing;
    ShowLogo(&missing.window, rows, 1);
    QVERIFY(missing.picture->pixmap().isNull());
    QCOMPARE(missing.picture->pos(), QPoint(700, 6));
    QCOMPARE(missing.texts().size(), 1);  // and the rest goes on, silently
    QVERIFY(dialogs.shown.isEmpty());
}

QTEST_MAIN(BrandingTest)
#include "tst_branding.moc"
