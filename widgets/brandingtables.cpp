#include "brandingtables.h"
#include <QCoreApplication>

namespace tarvo {

namespace {

// White banner, picture parked at the right, only the title.
BrandingRow neutralRow(const QString& title, int titleLeft)
{
    return BrandingRow{0xFFFFFF, 5, 800, QString(), {{title, 2, titleLeft, 20, 22}}};
}

BrandingTable makeScopeTable()
{
    const QString title = QStringLiteral("TARVO-Scope 4.3");
    // Rows other than 0 and 5 carry no branding of their own.
    BrandingTable table(12, neutralRow(title, 280));
    table[5] = BrandingRow{
        0xFFFFFF,
        5,
        800,
        QString(),
        {{title, 2, 280, 8, 22},
         {QCoreApplication::translate("Branding", "Gloss sensor scope — training and service edition"), 1, 282, 44,
          9}}};
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
