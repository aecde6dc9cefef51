// tarvoctl's own options. Each one's names are written here only: the
// parser is built from these objects, each command lists those it takes,
// and its code asks for them by these objects. The link options (--tcp,
// --serial, --device) are the link library's.
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

namespace tarvo::ctl {

struct Option {
    const char* name;                 // --name
    const char* description;          // for the parser; the help texts are the commands'
    const char* valueName = nullptr;  // set: it takes a value
    const char* shortName = nullptr;  // set: -x too

    QString key() const { return QString::fromLatin1(name); }
    bool isSet(const QCommandLineParser& p) const { return p.isSet(key()); }
    QString value(const QCommandLineParser& p) const { return p.value(key()); }
    // As messages name it: the short form where there is one.
    QString shown() const
    {
        return shortName ? QStringLiteral("-") + QString::fromLatin1(shortName) : QStringLiteral("--") + key();
    }
    // One of the names the parser reports for it.
    bool named(const QString& given) const
    {
        return given == QLatin1String(name) || (shortName && given == QLatin1String(shortName));
    }
    QCommandLineOption forParser() const
    {
        QStringList names{key()};
        if (shortName)
            names.prepend(QString::fromLatin1(shortName));
        return valueName ? QCommandLineOption(names, QString::fromLatin1(description), QString::fromLatin1(valueName))
                         : QCommandLineOption(names, QString::fromLatin1(description));
    }
};

namespace opt {

// Every run's.
inline constexpr Option help{.name = "help", .description = "Show the help.", .shortName = "h"};
inline constexpr Option version{.name = "version", .description = "Show the version."};
inline constexpr Option quiet{.name = "quiet", .description = "No report of success.", .shortName = "q"};
// With a link.
inline constexpr Option trace{.name = "trace", .description = "Frame trace file.", .valueName = "FILE"};
inline constexpr Option timeout{.name = "timeout", .description = "Seconds for a reply.", .valueName = "S"};

// The commands'.
inline constexpr Option retries{.name = "retries", .description = "Runs again after a failure.", .valueName = "N"};
inline constexpr Option eeprom{.name = "eeprom", .description = "From or to EEPROM."};
inline constexpr Option output{.name = "output", .description = "Output file.", .valueName = "FILE", .shortName = "o"};
inline constexpr Option noClobber{.name = "no-clobber", .description = "Keep an existing output file."};
inline constexpr Option count{
    .name = "count", .description = "Number of value sets.", .valueName = "COUNT", .shortName = "n"};
inline constexpr Option seconds{.name = "seconds", .description = "Duration in seconds.", .valueName = "S"};
inline constexpr Option interval{.name = "interval", .description = "Pause between requests in ms.", .valueName = "MS"};
inline constexpr Option period{
    .name = "period", .description = "Time from request to request in ms.", .valueName = "MS"};
inline constexpr Option csv{.name = "csv", .description = "Comma-separated values."};
inline constexpr Option json{.name = "json", .description = "One JSON object per line."};
inline constexpr Option utc{.name = "utc", .description = "Time stamps in UTC."};
inline constexpr Option triggered{.name = "triggered", .description = "Record what the sensor sends on its own."};
inline constexpr Option reconnect{.name = "reconnect", .description = "Take a lost connection up again and go on."};
inline constexpr Option checkAfter{
    .name = "check-after", .description = "Seconds without a frame before the line is checked.", .valueName = "S"};
inline constexpr Option refStep{.name = "ref-step", .description = "Reference temperature step.", .valueName = "T"};
inline constexpr Option refs{.name = "refs", .description = "Reference values.", .valueName = "R,G,B"};
inline constexpr Option acceptLimited{.name = "accept-limited", .description = "Send factors limited to 0..65535."};
inline constexpr Option acceptZero{.name = "accept-zero", .description = "Send a table of zeros."};
inline constexpr Option limits{.name = "limits", .description = "Tolerance limits of GF.", .valueName = "LOW:HIGH"};
inline constexpr Option events{.name = "events", .description = "The events file of a recording.", .valueName = "FILE"};
inline constexpr Option sensorId{.name = "sensor-id", .description = "The SENSOR ID of the sensor.", .valueName = "ID"};

}  // namespace opt

}  // namespace tarvo::ctl
