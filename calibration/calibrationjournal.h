// What the calibrations leave in the calibration log: one record for each
// reference-100 calibration and each calibration to another system,
// finished, cancelled or failed, with the settings and readings before and
// after and, for a curve, its points.
#pragma once

#include "calibcurve.h"
#include "calibrationlog.h"

#include <functional>

namespace tarvo {

class Exchange;
class ParameterSet;
struct MeasuredValues;

class CalibrationJournal {
public:
    CalibrationJournal(const Exchange& exchange, const ParameterSet& params, const MeasuredValues& measured);

    CalibrationLog log;
    std::function<QString()> sensorId;  // the user's SENSOR ID text
    QString program;                    // name and version

    // The settings and readings now: power, pmod, average, bias, CH_REF, CH_DIR, GF RAW.
    CalibrationRecord::Values state() const;

    // A reference-100 calibration has ended: `started` when the user
    // confirmed its start, `found` when the power search and the final
    // reading succeeded, `echoed` when the last exchange was answered
    // (after a found power: the sensor confirmed command 30).
    void reference100(const CalibrationRecord::Values& before, bool started, bool found, bool echoed,
                      std::uint16_t lastMax);
    // A calibration to another system: the curve sent (`tableValid`, `echoed`:
    // every frame acknowledged), or cancelled at its start (`cancelled`).
    void otherSystem(const CalibrationRecord::Values& before, bool cancelled, bool tableValid, bool echoed,
                     const CalibCells& table);

    // The record written last (also when writing it failed).
    const CalibrationRecord& last() const { return m_last; }

private:
    void write(CalibrationRecord r);

    const Exchange& m_ex;
    const ParameterSet& m_params;
    const MeasuredValues& m_measured;
    CalibrationRecord m_last;
};

}  // namespace tarvo
