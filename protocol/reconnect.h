// Taking a lost line up again: the one place that knows when the line to the
// sensor counts as lost, when to try again, how to tell that the sensor that
// answers is the one of the session, and what changed in it. Used by the
// scope's live loop, recorder and monitor, by the tool and by tarvoctl; the
// panels only show its state.
//
// Off (the default), nothing here acts: every caller keeps its own reaction
// to a missing reply or a closed line.
#pragma once

#include "autoframes.h"
#include "parameterset.h"

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace tarvo {

class EventPump;
class Exchange;
class Link;

// What happened to the line, as written to the events file.
// Gap: automatic reception got no frame for a while and the line check then
// found the sensor there with its sending switched off (a reboot behind a
// line that stayed up): the frames came again once it was switched on.
enum class LinkEvent { Lost, Back, Resumed, IdentityChanged, ParametersChanged, GaveUp, Stopped, Gap };
QString linkEventWord(LinkEvent event);

// When the attempts are made after a loss: the first at once, then 0.5, 1
// and 2 s after the one before, then every 2 s while something is recorded
// or monitored (busy) and every 10 s otherwise. Every delay but the first
// varies by up to a tenth either way, so that PCs that lost the same switch
// do not all knock at the same moment.
class RetrySchedule {
public:
    using Clock = std::function<double()>;   // seconds, monotonic
    using Jitter = std::function<double()>;  // uniform in [-1, 1]

    static constexpr double kBusyInterval = 2.0;
    static constexpr double kIdleInterval = 10.0;
    static constexpr double kJitter = 0.1;

    explicit RetrySchedule(Clock clock, Jitter jitter = {});

    // The line was lost now; the first attempt is due at once.
    void start(bool busy);
    // An attempt is being made now: the next one is scheduled after it.
    void attempted();
    int attempts() const { return m_attempts; }
    double nextAt() const { return m_nextAt; }
    // Every delay times this (1: as above); tests shorten the schedule.
    void setScale(double scale) { m_scale = scale; }
    double nextIn() const;

    // The delay before attempt n (counted from 1) without jitter.
    static double baseDelay(int attempt, bool busy);

private:
    Clock m_clock;
    Jitter m_jitter;
    bool m_busy = false;
    int m_attempts = 0;
    double m_nextAt = 0.0;
    double m_scale = 1.0;
};

// How a program's panel names the sixteen parameters and their values
// ("TRIGGER", "SELF"); unset: the words' own names and numbers.
struct ParameterNames {
    std::function<QString(int word)> name;
    std::function<QString(int word, std::uint16_t value)> value;
};

// Words that differ between two sets, named for the user ("power 512 -> 600,
// teach row 3 word 1 200 -> 210", or "TRIGGER SELF -> CONT" with the
// panel's names); at most `most` are named.
QString parameterDifferences(const ParameterWords& before, const ParameterWords& after, int most = 8,
                             const ParameterNames& names = {});

// What the reconnection shows; the program implements it.
class ReconnectHost {
public:
    virtual ~ReconnectHost() = default;
    virtual void linkEvent(LinkEvent event, const QString& reason) = 0;
    // The line's state while it is being taken up again, for the status
    // display ("CONNECTION LOST — retrying (attempt 4, next in 2 s)");
    // empty when the line is back or retrying has ended.
    virtual void retryState(const QString& text) = 0;
    // With the switch off: automatic reception got nothing for the line-check
    // time (a line that may be dead), once per quiet spell; empty when frames
    // come again.
    virtual void lineQuiet(const QString& text) { (void)text; }
};

class Reconnector {
public:
    Reconnector(Link& link, Exchange& exchange, EventPump& pump);

    // The switch "Reconnect and resume".
    void setEnabled(bool on);
    bool enabled() const { return m_enabled; }
    // Seconds without a frame after which automatic reception checks the line.
    double quietLimit = 10.0;
    // The retry schedule's delays times this; tests shorten them.
    double retryScale = 1.0;
    // After a return the working set is read and compared (the gloss
    // sensor's commands 3 and 4; the colour sensor has none).
    bool readsWorkingSet = true;

    void setHost(ReconnectHost* host) { m_host = host; }
    // Where the events of the recording that runs now also go (its events
    // file); empty: only to the host.
    std::function<void(LinkEvent, const QString&)> eventLog;
    // How the working set's changes are named on the screen, in the user's
    // language (the event's reason keeps the data's names for the files).
    ParameterNames parameterNames;
    // The reason of the event told last (to the host and eventLog), in the
    // user's language: the event carries it in English, as the events file
    // and the published events write it.
    QString shownReason() const { return m_shownReason; }

    // How a recovery ended.
    enum class Outcome { Resumed, Stopped, GaveUp, OtherSensor };

    // Takes the line up again after it was lost for `reason`; busy: something
    // is recorded or monitored. Tries by the schedule until the sensor that
    // answers has the session's identification (Resumed), loopFlag is no
    // longer 1 (Stopped), stopRetrying() is called (GaveUp) or another sensor
    // answers (OtherSensor). After a return the working set is read and
    // compared with the last one read or sent.
    // `shownReason` is `reason` in the user's language (empty: the same).
    Outcome recover(const QString& reason, bool busy, std::uint16_t& loopFlag, const QString& shownReason = QString());
    // The "stop retrying" action: a running recovery ends at once.
    void stopRetrying();

    // A line lost while no transfer runs, or lost under a transfer that is
    // no loop (a send, a fetch, a profile), is taken up again in the
    // background when that transfer has ended, as one transfer (the idle
    // schedule: every 10 s after the first tries). endIdleRecovery() ends
    // such a recovery (a connection the user asks for, closing the program)
    // without giving up the switch.
    void setIdleRecovery(bool on);
    void endIdleRecovery();
    bool retrying() const { return m_retrying; }
    // A lost line is to be taken up again once the running transfer has ended.
    bool recoveryAsked() const { return m_recoveryAsked; }
    // The last recovery ended without the session's sensor.
    Outcome lastOutcome() const { return m_lastOutcome; }

    // A loop of requests or of automatic reception starts: nothing missed yet.
    void begin();

    // After each request of a polling loop (busy: one that records). Value: the reply came. Again:
    // no value this time, the loop goes on (a first missed reply, or the line
    // was taken up again). Failed: the switch is off, the caller reacts as
    // ever. Ended: the recovery ended without the sensor; the loop ends.
    enum class Polled { Value, Again, Failed, Ended };
    Polled afterRequest(bool complete, std::uint16_t& loopFlag, bool busy);

    // Automatic reception: waits for whole frames like the reader's wait.
    // With the switch on, a line quiet for quietLimit seconds is checked
    // (the identification, then automatic sending switched on again), a
    // lost line is taken up again and automatic sending switched back on.
    // With it off, such a line is only told to the host (lineQuiet).
    // False when the loop has ended.
    bool awaitFrames(std::uint16_t& loopFlag);

private:
    void event(LinkEvent e, const QString& reason, const QString& shownReason);
    void state(const QString& text);
    // The working set of the sensor, read quietly; false when a reply failed.
    bool readWorkingSet(ParameterWords& words);
    // One request of the working set: its reply's words, none when it failed.
    std::optional<FrameWords> readBlock(std::uint16_t code, std::uint16_t arg);
    // After a line check: the working set compared with the last one read or sent.
    void compareWorkingSet();
    // Keeps the change for the screen and tells it as an event.
    void parametersChanged(const ParameterWords& before, const ParameterWords& after);
    bool resumeReception(const QString& reason, const QString& shownReason, std::uint16_t& loopFlag);
    // The quiet line is watched afresh from now: no frame seen yet, no check made.
    void watchFromNow();
    // Tells the host that the line is quiet (switch off), or no longer.
    void tellQuiet(bool quiet);
    // The quiet-line check: false when the loop has ended.
    bool checkQuietLine(std::uint16_t& loopFlag);
    void recoverWhileIdle();

    Link& m_link;
    Exchange& m_ex;
    EventPump& m_pump;
    ReconnectHost* m_host = nullptr;
    bool m_enabled = false;
    bool m_retrying = false;
    bool m_stop = false;
    Outcome m_lastOutcome = Outcome::Resumed;
    QString m_shownReason;
    int m_misses = 0;
    double m_quietSince = 0.0;
    // The line check found a quiet line and switched sending on again: the
    // time of the last frame before, until frames come again (-1: none).
    double m_gapFrom = -1.0;
    double m_lastFrameAt = 0.0;     // pump seconds of the last frames (or the start of the wait)
    double m_partInterval = -1.0;   // between the last two arrivals of frames (-1: not seen yet)
    double m_switchedOnAt = 0.0;    // when the line check switched sending on again
    bool m_frameSeen = false;       // m_lastFrameAt is the arrival of frames
    bool m_checkedInQuiet = false;  // a line check answered since the last frames
    bool m_quietTold = false;       // the host was told of a quiet line (switch off)
    std::uint16_t m_idleFlag = 0;   // 1 while a recovery runs for the idle program
    int m_recoveries = 0;           // recoveries begun
    bool m_recoveryAsked = false;
    QMetaObject::Connection m_idleWatch;
};

}  // namespace tarvo
