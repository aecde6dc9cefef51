#include "calibrationjournal.h"

#include "dialogs.h"
#include "exchange.h"
#include "measurement.h"
#include "parameterset.h"

#include <QCoreApplication>
#include <QDir>
#include <cmath>

namespace tarvo {

CalibrationJournal::CalibrationJournal(const Exchange& exchange, const ParameterSet& params,
                                       const MeasuredValues& measured)
    : m_ex(exchange)
    , m_params(params)
    , m_measured(measured)
{
}

CalibrationRecord::Values CalibrationJournal::state() const
{
    const auto n = [](double v) { return QString::number(v); };
    return {
        {QStringLiteral("power"), n(m_params.power)},
        {QStringLiteral("pmod"), m_params.pmod == 0 ? QStringLiteral("STAT") : QStringLiteral("DYN")},
        {QStringLiteral("average"), n(m_params.average)},
        {QStringLiteral("bias"), m_params.bias != 0 ? QStringLiteral("ON") : QStringLiteral("OFF")},
        {QStringLiteral("CH_REF"), n(m_measured.dataChRef)},
        {QStringLiteral("CH_DIR"), n(m_measured.dataChDir)},
        {QStringLiteral("GF RAW"), QString::number(m_measured.dataGfRawDouble, 'f', 1)},
    };
}

void CalibrationJournal::reference100(const CalibrationRecord::Values& before, bool started, bool found, bool echoed,
                                      std::uint16_t lastMax)
{
    CalibrationRecord r;
    r.kind = QString::fromLatin1(CalibrationRecord::kKindReference100);
    r.reference = QStringLiteral("reference target of gloss factor 100");
    r.before = before;
    r.after = state();
    if (!started) {
        r.outcome = QString::fromLatin1(CalibrationRecord::kCancelled);
        r.reason = QStringLiteral("the start was not confirmed (sensor on the reference)");
    } else if (found && echoed) {
        r.outcome = QString::fromLatin1(CalibrationRecord::kDone);
        r.written = QStringLiteral("EEPROM");
    } else {
        r.outcome = QString::fromLatin1(CalibrationRecord::kFailed);
        r.reason = found ? QStringLiteral("the sensor did not confirm the calibration (command 30)")
            : echoed
            ? QStringLiteral("no proper power found: the stronger channel read %1, outside 3551 to 3949").arg(lastMax)
            : QStringLiteral("the sensor did not answer (TIMEOUT)");
    }
    write(std::move(r));
}

void CalibrationJournal::otherSystem(const CalibrationRecord::Values& before, bool cancelled, bool tableValid,
                                     bool echoed, const CalibCells& table)
{
    CalibrationRecord r;
    r.kind = QString::fromLatin1(CalibrationRecord::kKindOtherSystem);
    r.before = before;
    r.after = state();
    for (int row = 1; row <= kCalibTableRows; ++row) {
        const double t = table.at(1, row);
        const double o = table.at(2, row);
        if (std::isfinite(t) && std::isfinite(o) && t > -1.0 && o > -1.0)
            r.curve.emplace_back(t, o);
    }
    r.reference = QStringLiteral("another measuring system: %1 pairs of values entered").arg(r.curve.size());
    if (cancelled) {
        r.outcome = QString::fromLatin1(CalibrationRecord::kCancelled);
        r.reason = QStringLiteral("the reference-100 calibration was not confirmed as OK");
        r.curve.clear();
        r.reference = QStringLiteral("another measuring system");
    } else if (tableValid && echoed) {
        r.outcome = QString::fromLatin1(CalibrationRecord::kDone);
        r.written = QStringLiteral("EEPROM");
    } else {
        r.outcome = QString::fromLatin1(CalibrationRecord::kFailed);
        r.reason = tableValid ? QStringLiteral("the sensor did not acknowledge every frame of the curve; what it "
                                               "acknowledged stays in its EEPROM")
                              : QStringLiteral("the table did not pass its check; nothing was sent");
        if (tableValid)
            r.written = QStringLiteral("EEPROM (in part)");
    }
    write(std::move(r));
}

void CalibrationJournal::write(CalibrationRecord r)
{
    r.when = QDateTime::currentDateTime();
    r.sensor = m_ex.versionText();
    r.sensorId = sensorId ? sensorId() : QString();
    r.user = operatingSystemUser();
    r.program = program;
    m_last = r;
    QString error;
    if (!log.append(r, &error))
        dialogs().message(
            QStringLiteral("ATTENTION!"),
            QCoreApplication::translate("CalibrationLog",
                                        "The calibration could not be written to the calibration log:\n%1\n%2\n"
                                        "The earlier records are kept.")
                .arg(QDir::toNativeSeparators(log.path()), error));
}

}  // namespace tarvo
