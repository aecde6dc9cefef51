#include "brandingtables.h"
#include <QCoreApplication>

namespace tarvo {

namespace {

// White banner, picture parked at the right, only the title.
BrandingRow neutralRow(const QString& title, int titleLeft)
{
    return BrandingRow{.bannerColour = 0xFFFFFF,
                       .pictureTop = 5,
                       .pictureLeft = 800,
                       .bitmap = QString(),
                       .lines = {{.text = title, .style = 2, .left = titleLeft, .top = 20, .size = 22}}};
}

BrandingTable makeScopeTable()
{
    const QString title = QStringLiteral("TARVO-Scope 4.3");
    // Rows other than 0 and 5 carry no branding of their own.
    BrandingTable table(12, neutralRow(title, 280));
    table[5] = BrandingRow{
        .bannerColour = 0xFFFFFF,
        .pictureTop = 5,
        .pictureLeft = 800,
        .bitmap = QString(),
        .lines = {{.text = title, .style = 2, .left = 280, .top = 8, .size = 22},
                  {.text = QCoreApplication::translate("Branding", "Gloss sensor scope — training and service edition"),
                   .style = 1,
                   .left = 282,
                   .top = 44,
                   .size = 9}}};
    return table;
}

BrandingTable makeToolTable()
{
    return BrandingTable(11, neutralRow(QStringLiteral("TARVO-TEMPCOMP-Scope V4.3"), 240));
}

}  // namespace

const BrandingTable& scopeBrandingTable()
{
    static const BrandingTable table = makeScopeTable();
    return table;
}

const BrandingTable& toolBrandingTable()
{
    static const BrandingTable table = makeToolTable();
    return table;
}

}  // namespace tarvo
