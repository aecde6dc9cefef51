// Calibration status: an interval in days per sensor (default off), kept in
// the user's data folder beside the calibration log, and whether a sensor's
// last successful logged calibration is older than its interval.
#pragma once

#include "calibrationlog.h"

#include <QDateTime>
#include <QMap>
#include <QString>

namespace tarvo {

class CalibrationIntervals {
public:
    // <data folder>/tarvo/calibration-intervals.txt: one line per sensor,
    // its SENSOR ID (or identification), a tab, the days.
    static QString defaultPath();
    explicit CalibrationIntervals(QString path = defaultPath());

    // 0: off.
    int days(const QString& sensor) const { return m_days.value(sensor, 0); }
    // Sets (0: removes) and saves the file whole; false with the reason.
    bool setDays(const QString& sensor, int days, QString* error);

private:
    QString m_path;
    QMap<QString, int> m_days;
};

// "calibration due since 2026-11-02" when the interval of the sensor (by its
// SENSOR ID, else its identification) has passed since its last successful
// logged calibration, or "calibration due: none logged" when it has an
// interval and none; empty otherwise.
QString calibrationDueText(const std::vector<CalibrationRecord>& records, const CalibrationIntervals& intervals,
                           const QString& sensorId, const QString& sensor, const QDateTime& now);

// The same from the log and intervals in the user's data folder, now.
QString calibrationDueNow(const QString& sensorId, const QString& sensor);

}  // namespace tarvo
