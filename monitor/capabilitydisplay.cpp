#include "capabilitydisplay.h"

#include "recordreport.h"
#include "ui_MONITORP.h"

namespace tarvo {

std::optional<ToleranceLimits> bandLimits(const GlossBand& band)
{
    if (!(band.gfTol > 0.0))
        return std::nullopt;
    return ToleranceLimits{band.gf - band.gfTol, band.gf + band.gfTol};
}

ProcessFigures showCapability(const Ui::MONITORP& ui, std::span<const double> window, const GlossBand& band)
{
    const ProcessFigures f = processFigures(window, bandLimits(band));
    const bool given = f.gap == CapabilityGap::None;
    const QString why = QString::fromStdString(capabilityGapText(f));
    const QString none = QStringLiteral("–");
    ui.DispCp->setText(given ? figureText(f.cp) : none);
    ui.DispCpk->setText(given ? figureText(f.cpk) : none);
    for (QWidget* w : {static_cast<QWidget*>(ui.DispCp), static_cast<QWidget*>(ui.DispCpk)})
        w->setToolTip(given ? QStringLiteral("From %1 parts.").arg(f.count) : why);
    ui.DispCapParts->setText(QString::number(f.count));
    return f;
}

}  // namespace tarvo
