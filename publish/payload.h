// The messages a publisher sends, as compact JSON, and the topics they go to.
//
//   P/NAME/values  one object per value set: seq, run, time, then every
//                  value of the frame by name; GF, GF_RAW and PP in their
//                  units. run is new at every start of the publisher and seq
//                  counts from 1 within it: (name, run, seq) is one value set.
//   P/NAME/status  "online" / "offline", retained (also the Last Will)
//   P/NAME/info    retained: identification, program, parameter set
//   P/NAME/events  what happened to the sensor link (LOST …)
#pragma once

#include "measurement.h"
#include "paramfile.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace tarvo::publish {

// "tarvo", the topic prefix when none is given.
inline constexpr const char* kDefaultPrefix = "tarvo";

// Why a prefix or name cannot be used as a topic level, or empty when it
// can. A name is one level: no '/', and neither of the wildcards '+' and
// '#'. A prefix may have several levels, without wildcards, empty levels and
// a leading '$'. Neither holds control characters.
QString badName(const QString& name);
QString badPrefix(const QString& prefix);

struct Topics {
    QByteArray values, status, info, events;
    Topics() = default;
    Topics(const QString& prefix, const QString& name);
    // The topic of a message kind ("values", "events").
    QByteArray of(const QByteArray& kind) const;
};

inline const QByteArray kOnline = QByteArrayLiteral("online");
inline const QByteArray kOffline = QByteArrayLiteral("offline");

// Times in every payload are ISO 8601 local time with milliseconds and the
// UTC offset: 2026-03-07T09:05:01.123+01:00.
// {"seq":1,"run":"…","time":"…","ch_ref":2500,…,"gf":87.3,…,"pp":1.2}
QByteArray valuesPayload(quint64 seq, const QString& run, const QDateTime& when, const MeasuredValues& m);

// {"time":"…","identification":"…","program":"tarvoctl 4.3.0",
//  "parameters":{"power":500,…},"teach_table":[[…],…]}
QByteArray infoPayload(const QDateTime& when, const QString& identification, const QString& program,
                       const ParameterBlock& block);

// {"time":"…","event":"LOST","reason":"…","run":"…","last_seq":41}
QByteArray eventPayload(const QDateTime& when, const QString& event, const QString& reason, const QString& run,
                        quint64 lastSeq);

}  // namespace tarvo::publish
