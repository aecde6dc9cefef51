// The calibration log: one record per calibration, finished, cancelled or
// failed, appended to one file per user and never rewritten. Each record is
// one line of JSON written whole and flushed, so that a crash or a full disk
// loses at most the record being written, never an earlier one.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace tarvo {

struct CalibrationRecord {
    using Values = std::vector<std::pair<QString, QString>>;  // name, value, in order

    QDateTime when;
    QString kind;                                  // kKindReference100 or kKindOtherSystem
    QString outcome;                               // kDone, kCancelled or kFailed
    QString reason;                                // why it failed or was cancelled; empty when done
    QString sensor;                                // the sensor's identification (and version)
    QString sensorId;                              // the user's SENSOR ID text
    QString user;                                  // the operating-system user
    QString program;                               // name and version
    QString reference;                             // what it was calibrated against
    Values before;                                 // readings and settings before
    Values after;                                  // … and after
    std::vector<std::pair<double, double>> curve;  // the curve's points (sensor GF, other system's GF)
    QString written;                               // where the sensor took it: "EEPROM", "RAM"; empty: not written

    static constexpr const char* kKindReference100 = "reference-100";
    static constexpr const char* kKindOtherSystem = "other-system";
    static constexpr const char* kDone = "done";
    static constexpr const char* kCancelled = "cancelled";
    static constexpr const char* kFailed = "failed";

    bool succeeded() const { return outcome == QLatin1String(kDone); }
    // The record as one line of JSON (no line end), and back.
    QByteArray toJsonLine() const;
    static bool fromJsonLine(const QByteArray& line, CalibrationRecord* record);
};

// The operating-system user running the program.
QString operatingSystemUser();

class CalibrationLog {
public:
    // The log's place in the user's data folder:
    // <data folder>/tarvo/calibration-log.jsonl (Linux: ~/.local/share/tarvo/).
    static QString defaultPath();

    explicit CalibrationLog(QString path = defaultPath())
        : m_path(std::move(path))
    {
    }
    QString path() const { return m_path; }
    void setPath(const QString& path) { m_path = path; }

    // Appends one record, whole; false with the reason on failure, the file
    // then as it was before.
    bool append(const CalibrationRecord& record, QString* error) const;

    struct Contents {
        std::vector<CalibrationRecord> records;  // in the order written, oldest first
        int damaged = 0;                         // lines that are no record (skipped)
        QString error;                           // the file could not be read; empty: read (or none yet)
    };
    Contents read() const;

private:
    QString m_path;
};

// The records as CSV, a header line and one line per record; before, after
// and the curve as "name=value; …" in one column each.
QString calibrationCsv(const std::vector<CalibrationRecord>& records);

// The last successful calibration of a sensor (by SENSOR ID, or by the
// identification when there is no SENSOR ID); nullptr when none.
const CalibrationRecord* lastSuccessful(const std::vector<CalibrationRecord>& records, const QString& sensorId,
                                        const QString& sensor);

}  // namespace tarvo
