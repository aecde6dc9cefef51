#include "reconnect.h"

#include "eventpump.h"
#include "exchange.h"
#include "link.h"
#include "statustexts.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRandomGenerator>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

// The countdown of the status is brought up to date this often.
constexpr double kStateTick = 1.0;
// Times a connection on which frames came is asked again for the
// identification before its frames count as unproven.
constexpr int kAskAgain = 2;

// A reason as the events file writes it and as the screen shows it.
struct Reason {
    QString english;
    QString shown;
};

// `source` (marked for the translation, %n for n when n >= 0) in both wordings.
Reason reasonText(const char* source, int n = -1)
{
    return {worded(Wording::English, "Reconnector", source, n), worded(Wording::Shown, "Reconnector", source, n)};
}

double uniformJitter()
{
    return QRandomGenerator::global()->generateDouble() * 2.0 - 1.0;
}

}  // namespace

QString linkEventWord(LinkEvent event)
{
    switch (event) {
    case LinkEvent::Lost: return QStringLiteral("LOST");
    case LinkEvent::Back: return QStringLiteral("BACK");
    case LinkEvent::Resumed: return QStringLiteral("RESUMED");
    case LinkEvent::IdentityChanged: return QStringLiteral("IDENTITY-CHANGED");
    case LinkEvent::ParametersChanged: return QStringLiteral("PARAMETERS-CHANGED");
    case LinkEvent::GaveUp: return QStringLiteral("GAVE-UP");
    case LinkEvent::Stopped: return QStringLiteral("STOPPED");
    case LinkEvent::Gap: return QStringLiteral("GAP");
    }
    return {};
}

// ---- retry schedule --------------------------------------------------------

RetrySchedule::RetrySchedule(Clock clock, Jitter jitter)
    : m_clock(std::move(clock))
    , m_jitter(jitter ? std::move(jitter) : Jitter(uniformJitter))
{
}

double RetrySchedule::baseDelay(int attempt, bool busy)
{
    switch (attempt) {
    case 1: return 0.0;
    case 2: return 0.5;
    case 3: return 1.0;
    case 4: return 2.0;
    default: return busy ? kBusyInterval : kIdleInterval;
    }
}

void RetrySchedule::start(bool busy)
{
    m_busy = busy;
    m_attempts = 0;
    m_nextAt = m_clock();
}

void RetrySchedule::attempted()
{
    ++m_attempts;
    const double delay = m_scale * baseDelay(m_attempts + 1, m_busy);
    m_nextAt = m_clock() + delay * (1.0 + kJitter * std::clamp(m_jitter(), -1.0, 1.0));
}

double RetrySchedule::nextIn() const
{
    return std::max(0.0, m_nextAt - m_clock());
}

QString parameterDifferences(const ParameterWords& before, const ParameterWords& after, int most,
                             const ParameterNames& names)
{
    QStringList named;
    int differing = 0;
    for (int i = 0; i < kBlockWords; ++i) {
        if (before[i] == after[i])
            continue;
        if (++differing > most)
            continue;
        if (i < kParamCount && names.name && names.value) {
            named << QStringLiteral("%1 %2 -> %3")
                         .arg(names.name(i), names.value(i, before[i]), names.value(i, after[i]));
            continue;
        }
        const QString what = i < kParamCount ? QString::fromLatin1(kParamNames[i])
                                             : QStringLiteral("teach row %1 word %2")
                                                   .arg((i - kParamCount) / kTeachCols)
                                                   .arg((i - kParamCount) % kTeachCols);
        named << QStringLiteral("%1 %2 -> %3").arg(what).arg(before[i]).arg(after[i]);
    }
    QString text = named.join(QStringLiteral(", "));
    if (differing > most)
        text += QStringLiteral(" and %1 more").arg(differing - most);
    return text;
}

// ---- reconnector --------------------------------------------------------

Reconnector::Reconnector(Link& link, Exchange& exchange, EventPump& pump)
    : m_link(link)
    , m_ex(exchange)
    , m_pump(pump)
{
}

void Reconnector::setEnabled(bool on)
{
    m_enabled = on;
    m_link.setAutoReconnect(on);
}

void Reconnector::event(LinkEvent e, const QString& reason, const QString& shownReason)
{
    m_shownReason = shownReason;
    if (eventLog)
        eventLog(e, reason);
    if (m_host)
        m_host->linkEvent(e, reason);
}

void Reconnector::state(const QString& text)
{
    if (m_host)
        m_host->retryState(text);
}

void Reconnector::stopRetrying()
{
    m_stop = true;
    m_pump.poke();
}

void Reconnector::begin()
{
    m_lastOutcome = Outcome::Resumed;
    m_misses = 0;
    m_gapFrom = -1.0;
    watchFromNow();
    m_quietTold = false;
}

void Reconnector::watchFromNow()
{
    m_quietSince = m_pump.now();
    m_lastFrameAt = m_quietSince;
    m_frameSeen = false;
    m_checkedInQuiet = false;
}

Reconnector::Outcome Reconnector::recover(const QString& reason, bool busy, std::uint16_t& loopFlag,
                                          const QString& shownReason)
{
    const QString identity = m_ex.versionText();
    const ConnectionSettings settings = m_link.connectionInUse();
    const double lostAt = m_pump.now();
    ++m_recoveries;
    m_recoveryAsked = false;
    event(LinkEvent::Lost, reason, shownReason.isEmpty() ? reason : shownReason);
    m_retrying = true;
    m_stop = false;
    RetrySchedule schedule([this] { return m_pump.now(); });
    schedule.setScale(retryScale);
    schedule.start(busy);
    const auto ended = [&] { return loopFlag != 1 || m_stop; };
    Outcome outcome = Outcome::Stopped;
    ParameterWords words{};
    // Automatic reception goes on across the recovery: what the sensor sends
    // on the new connection before and while it is asked who it is goes to
    // the reader, not away with a flush. Frames from a sensor that did not
    // prove to be the session's are dropped and counted.
    AutoFrameReader& reader = m_ex.autoFrames();
    const bool receiving = reader.active();
    const int keep = reader.queued();
    int unproven = 0;
    while (!ended()) {
        if (const double left = schedule.nextIn(); left > 0.0) {
            state(QCoreApplication::translate("Reconnector", "CONNECTION LOST — retrying (attempt %1, next in %2 s)")
                      .arg(schedule.attempts())
                      .arg(std::ceil(left)));
            m_pump.waitFor(std::min(left, kStateTick), ended);
            continue;
        }
        schedule.attempted();
        state(QCoreApplication::translate("Reconnector", "CONNECTION LOST — retrying (attempt %1)")
                  .arg(schedule.attempts()));
        m_link.Reattach(settings);
        if (m_link.openResult() < 0 || ended())
            continue;
        if (receiving)
            m_link.setAutoFrames(true, false);  // a new line: every byte on it belongs to this sending
        // A sensor that sends frames on this connection is there: one whose
        // answer was lost (it came back while it was asked) is asked again
        // on the same connection, so that its frames are proven, not dropped.
        bool answered = m_ex.QueryIdentification(receiving);
        for (int again = 0;
             !answered && receiving && again < kAskAgain && reader.queued() > keep && !m_link.channelLost() && !ended();
             ++again)
            answered = m_ex.QueryIdentification(receiving);
        if (!answered || ended()) {
            if (receiving)
                unproven += reader.dropQueuedAfter(keep);
            continue;
        }
        const QString now = m_ex.versionText();
        const char* const back = QT_TRANSLATE_NOOP("Reconnector", "\"%1\" answered after %2 s, attempt %3");
        const auto backText = [&](Wording wording) {
            return worded(wording, "Reconnector", back)
                .arg(now, wordedSeconds(m_pump.now() - lostAt, wording))
                .arg(schedule.attempts());
        };
        event(LinkEvent::Back, backText(Wording::English), backText(Wording::Shown));
        if (now != identity) {
            if (receiving)
                unproven += reader.dropQueuedAfter(keep);
            outcome = Outcome::OtherSensor;
            break;
        }
        if (readsWorkingSet && !readWorkingSet(words))
            continue;  // the line failed again: the frames came from the session's sensor
        outcome = Outcome::Resumed;
        break;
    }
    m_retrying = false;
    m_misses = 0;
    if (outcome == Outcome::Stopped && m_stop)
        outcome = Outcome::GaveUp;
    m_stop = false;
    m_lastOutcome = outcome;
    state(QString());
    const Reason dropped = unproven == 0
        ? Reason{}
        : reasonText(QT_TRANSLATE_N_NOOP("Reconnector",
                                         "; %n frame(s) sent on a connection whose sensor did not "
                                         "prove to be the session's were not recorded"),
                     unproven);
    if (outcome == Outcome::OtherSensor) {
        const Reason other = reasonText(QT_TRANSLATE_NOOP("Reconnector",
                                                          "the sensor was \"%1\", now \"%2\" answers; nothing of it is "
                                                          "recorded%3"));
        event(LinkEvent::IdentityChanged, other.english.arg(identity, m_ex.versionText(), dropped.english),
              other.shown.arg(identity, m_ex.versionText(), dropped.shown));
    } else if (outcome == Outcome::GaveUp) {
        const int attempts = schedule.attempts();
        const Reason gaveUp = reasonText(QT_TRANSLATE_N_NOOP("Reconnector", "retrying stopped after %n attempt(s)"),
                                         attempts);
        event(LinkEvent::GaveUp, gaveUp.english, gaveUp.shown);
    } else if (outcome == Outcome::Resumed) {
        if (readsWorkingSet) {
            if (m_ex.workingSet() && *m_ex.workingSet() != words)
                parametersChanged(*m_ex.workingSet(), words);
            m_ex.setWorkingSet(words);
        }
        const Reason resumed = reasonText(QT_TRANSLATE_NOOP("Reconnector", "after %1 s%2"));
        const double after = m_pump.now() - lostAt;
        event(LinkEvent::Resumed, resumed.english.arg(wordedSeconds(after, Wording::English), dropped.english),
              resumed.shown.arg(wordedSeconds(after, Wording::Shown), dropped.shown));
    }
    return outcome;
}

void Reconnector::setIdleRecovery(bool on)
{
    if (on == bool(m_idleWatch))
        return;
    if (!on) {
        QObject::disconnect(m_idleWatch);
        m_idleWatch = {};
        endIdleRecovery();
        return;
    }
    m_idleWatch = QObject::connect(&m_link, &Link::connectionLost, &m_link, [this] {
        // A loop notices the loss itself; the idle program, and a send, fetch,
        // profile or search that ends with the loss, are looked after here.
        if (!m_enabled)
            return;
        m_recoveryAsked = true;
        QTimer::singleShot(0, &m_link, [this] { recoverWhileIdle(); });
    });
}

void Reconnector::recoverWhileIdle()
{
    if (!m_enabled || !m_link.channelLost() || m_retrying) {
        m_recoveryAsked = false;  // a recovery runs already, or there is nothing to recover
        return;
    }
    // Asked for inside a running transfer's wait, it follows that transfer;
    // a loop that took the line up again (or gave up) meanwhile leaves
    // nothing to do.
    const int recoveries = m_recoveries;
    m_ex.Transfer(TransferKind::Reconnect, [this, recoveries] {
        if (!m_enabled || !m_link.channelLost() || m_recoveries != recoveries) {
            m_recoveryAsked = false;
            return;
        }
        m_idleFlag = 1;
        recover(m_link.lostReason(), false, m_idleFlag, m_link.lostReason(Wording::Shown));
        m_idleFlag = 0;
    });
}

void Reconnector::endIdleRecovery()
{
    m_idleFlag = 0;
    m_pump.poke();
}

std::optional<FrameWords> Reconnector::readBlock(std::uint16_t code, std::uint16_t arg)
{
    // While automatic frames come (a line check), they go on coming.
    const Reply reply = m_ex.request(code, arg, m_ex.autoFrames().active());
    if (!reply)
        return std::nullopt;
    return reply.words;
}

bool Reconnector::readWorkingSet(ParameterWords& words)
{
    const std::optional<FrameWords> params = readBlock(frame::ReadParams, 0);
    if (!params)
        return false;
    std::copy_n(params->begin() + 2, kParamCount, words.begin());
    for (std::uint16_t row = 0; row < kTeachRows; ++row) {
        const std::optional<FrameWords> teach = readBlock(frame::ReadTeachRow, row);
        if (!teach)
            return false;
        std::copy_n(teach->begin() + 3, kTeachCols, words.begin() + kParamCount + kTeachCols * row);
    }
    return true;
}

void Reconnector::parametersChanged(const ParameterWords& before, const ParameterWords& after)
{
    // The event's reason goes into the events file and the published events:
    // the data's own names, the same in every language. The panel's words are
    // for the screen (shownReason).
    event(LinkEvent::ParametersChanged, parameterDifferences(before, after, 8),
          parameterDifferences(before, after, 8, parameterNames));
}

void Reconnector::compareWorkingSet()
{
    if (!readsWorkingSet || !m_ex.workingSet())
        return;
    // A sensor that rebooted behind a line that stayed up is back in its
    // EEPROM set, which may differ in the parameters, the teach table or
    // both: the whole set is read and compared. A failed read changes
    // nothing here: the next wait notices a dead line.
    ParameterWords words{};
    if (!readWorkingSet(words) || words == *m_ex.workingSet())
        return;
    parametersChanged(*m_ex.workingSet(), words);
    m_ex.setWorkingSet(words);
}

Reconnector::Polled Reconnector::afterRequest(bool complete, std::uint16_t& loopFlag, bool busy)
{
    if (complete) {
        m_misses = 0;
        return Polled::Value;
    }
    if (!m_enabled)
        return Polled::Failed;
    if (loopFlag != 1)
        return Polled::Again;  // stopped while the reply was awaited: the loop ends by itself
    const bool lost = m_link.channelLost();
    if (!lost && ++m_misses < 2)
        return Polled::Again;  // one reply may go astray; the next request tells
    const Reason reason = lost ? Reason{m_link.lostReason(), m_link.lostReason(Wording::Shown)}
                               : reasonText(QT_TRANSLATE_NOOP("Reconnector", "two replies in a row did not come"));
    if (recover(reason.english, busy, loopFlag, reason.shown) == Outcome::Resumed)
        return Polled::Again;
    loopFlag = 0;
    return Polled::Ended;
}

bool Reconnector::resumeReception(const QString& reason, const QString& shownReason, std::uint16_t& loopFlag)
{
    if (recover(reason, true, loopFlag, shownReason) != Outcome::Resumed) {
        loopFlag = 0;
        return false;
    }
    m_ex.StartAutoSend(false);
    watchFromNow();
    return true;
}

void Reconnector::tellQuiet(bool quiet)
{
    if (quiet == m_quietTold)
        return;
    m_quietTold = quiet;
    if (m_host)
        m_host->lineQuiet(quiet
                              ? QCoreApplication::translate("Reconnector",
                                                            "nothing received for %1 s; the line may be dead — turn on "
                                                            "Reconnect and resume to check it")
                                    .arg(quietLimit)
                              : QString());
}

bool Reconnector::awaitFrames(std::uint16_t& loopFlag)
{
    AutoFrameReader& reader = m_ex.autoFrames();
    for (;;) {
        // With the switch off nothing is checked: a line with nothing on it
        // for the line-check time is only told, as it may be dead without the
        // system knowing (a peer that lost its power sends no end of the
        // connection). The switch turned on meanwhile checks it at once.
        const bool checked = m_enabled;
        if (checked)
            tellQuiet(false);
        const double until = !checked && m_quietTold ? m_pump.now() + kStateTick : m_quietSince + quietLimit;
        switch (reader.waitUntil(loopFlag, until)) {
        case AutoFrameReader::WaitEnd::Frames:
            if (m_gapFrom >= 0.0 && m_pump.now() - m_switchedOnAt <= std::max(1.0, 3.0 * m_partInterval)) {
                // The check switched sending on and frames came at once: the
                // quiet line was a sensor that had switched it off. Frames
                // that come only after a while are the next part of a slow
                // line, no gap.
                const char* const gap = QT_TRANSLATE_NOOP(
                    "Reconnector",
                    "no frame for %1 s; the sensor answered the line check and frames came again "
                    "once its sending was switched on (as after a reboot behind a line that "
                    "stayed up)");
                const double quiet = m_pump.now() - m_gapFrom;
                event(LinkEvent::Gap,
                      worded(Wording::English, "Reconnector", gap).arg(wordedSeconds(quiet, Wording::English)),
                      worded(Wording::Shown, "Reconnector", gap).arg(wordedSeconds(quiet, Wording::Shown)));
            } else if (m_gapFrom < 0.0 && m_frameSeen) {
                m_partInterval = m_pump.now() - m_lastFrameAt;
            }
            m_gapFrom = -1.0;
            m_checkedInQuiet = false;
            tellQuiet(false);
            m_quietSince = m_pump.now();
            m_lastFrameAt = m_quietSince;
            m_frameSeen = true;
            return true;
        case AutoFrameReader::WaitEnd::Stopped: return false;
        case AutoFrameReader::WaitEnd::Lost:
            m_gapFrom = -1.0;  // the loss is written down as such
            if (!checked)
                return reader.wait(loopFlag);  // the reaction to a lost line, as ever
            if (!resumeReception(m_link.lostReason(), m_link.lostReason(Wording::Shown), loopFlag))
                return false;
            break;
        case AutoFrameReader::WaitEnd::Quiet:
            if (!checked)
                tellQuiet(true);
            else if (!checkQuietLine(loopFlag))
                return false;
            break;
        }
    }
}

bool Reconnector::checkQuietLine(std::uint16_t& loopFlag)
{
    AutoFrameReader& reader = m_ex.autoFrames();
    // The line check: a sensor that answers with the session's
    // identification is there (a line with no parts on it is not lost), and
    // automatic sending goes on again, which a sensor that rebooted behind a
    // line that stayed up had switched off. Asking first keeps the frames of
    // another sensor that came up behind the same line out of the
    // recording. The sensor's sending is left on meanwhile: a part that
    // comes with the check is recorded like any other. The same sensor is
    // the same identification text, as in the recovery: bytes after its
    // zero byte do not count.
    const std::optional<Identification> answer = m_ex.askIdentification(true);
    const bool answered = answer.has_value();
    if (answered && identificationText(*answer) == m_ex.versionText()) {
        compareWorkingSet();
        // Frames that came with the check show that the sensor's sending was
        // on; otherwise frames that follow the switch-on mark a gap. Only the
        // first check of a quiet stretch can tell it: a line still quiet
        // after its sending was switched on is a slow line, whose next part
        // may come just after a later check.
        m_gapFrom = reader.queued() == 0 && !m_checkedInQuiet ? m_lastFrameAt : -1.0;
        m_checkedInQuiet = true;
        m_ex.StartAutoSend(false);
        m_quietSince = m_pump.now();
        m_switchedOnAt = m_quietSince;
        return true;
    }
    if (!answered && reader.queued() > 0) {
        m_quietSince = m_pump.now();  // parts came with the check: the line is alive
        return true;
    }
    // Another sensor on the line: the recovery looks for the session's.
    m_gapFrom = -1.0;
    const char* const why = answered
        ? QT_TRANSLATE_NOOP("Reconnector", "another sensor answered the line check")
        : QT_TRANSLATE_NOOP("Reconnector", "nothing came for %1 s and the line check got no answer");
    const auto reason = [&](Wording wording) {
        QString text = worded(wording, "Reconnector", why);
        if (answered)
            return text;
        return wording == Wording::Shown ? text.arg(QLocale().toString(quietLimit)) : text.arg(quietLimit);
    };
    return resumeReception(reason(Wording::English), reason(Wording::Shown), loopFlag);
}

}  // namespace tarvo
