#include "capabilitydisplay.h"

#include "panelutil.h"
#include "recordreport.h"
#include "ui_MONITORP.h"

#include <QCoreApplication>

namespace tarvo {

std::optional<ToleranceLimits> bandLimits(const GlossBand& band)
{
    if (!(band.gfTol > 0.0))
        return std::nullopt;
    return ToleranceLimits{.low = band.gf - band.gfTol, .high = band.gf + band.gfTol};
}

ProcessFigures showCapability(const Ui::MONITORP& ui, std::span<const double> window, const GlossBand& band)
{
    const ProcessFigures f = processFigures(window, bandLimits(band));
    const bool given = f.gap == CapabilityGap::None;
    // The report's words (capabilityGapText), in the user's language.
    QString why;
    switch (f.gap) {
    case CapabilityGap::None: break;
    case CapabilityGap::NoLimits:
        why = QCoreApplication::translate("Monitor",
                                          "No tolerance band in force: Cp and Cpk need a low and a high limit.");
        break;
    case CapabilityGap::TooFewParts:
        why = QCoreApplication::translate("Monitor", "Only %1 parts: Cp and Cpk need at least %2.")
                  .arg(f.count)
                  .arg(kCapabilityMinParts);
        break;
    case CapabilityGap::NoSpread:
        why = QCoreApplication::translate("Monitor",
                                          "All parts have the same value: with no spread Cp and Cpk are not defined.");
        break;
    }
    const QString none = QStringLiteral("–");
    ui.DispCp->setText(given ? shownNumber(f.cp, 'f', 3) : none);
    ui.DispCpk->setText(given ? shownNumber(f.cpk, 'f', 3) : none);
    for (QWidget* w : {static_cast<QWidget*>(ui.DispCp), static_cast<QWidget*>(ui.DispCpk)})
        w->setToolTip(given ? QCoreApplication::translate("Monitor", "From %n parts.", nullptr, int(f.count)) : why);
    ui.DispCapParts->setText(QString::number(f.count));
    return f;
}

}  // namespace tarvo
