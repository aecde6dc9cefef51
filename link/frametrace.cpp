#include "frametrace.h"

#include "frame.h"

#include <QDateTime>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvo {

namespace {

QString plural(int n, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

// Fields are tab-separated and a record is one line: keep both out of texts.
QString oneLine(const QString& text)
{
    QString s = text;
    for (QChar& c : s)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return s;
}

// The values of a measurement frame from the sensor, most telling first;
// empty for any other record.
QString measurementValues(const TraceRecord& r)
{
    if (r.dir != TraceDirection::SensorToPc || r.bytes.size() < frame::kBytes)
        return QString();
    const auto* f = reinterpret_cast<const std::uint8_t*>(r.bytes.constData());
    if (frame::getWord(f, 0) != frame::kSyncSensor || frame::getWord(f, 1) != frame::ReadMeasurement)
        return QString();
    using namespace frame::measurement;
    auto tenths = [f](int word) { return QString::number(frame::getWord(f, word) / 10.0, 'f', 1); };
    auto word = [f](int w) { return QString::number(frame::getWord(f, w)); };
    return QStringLiteral("GF %1 V-No %2 NORM %3 INT %4 CH_REF %5 CH_DIR %6 CH_DIF %7 TEMP %8 GF_RAW %9 PP %10")
        .arg(tenths(Gf), word(Vec), word(Norm), word(Int), word(ChRef), word(ChDir), word(ChDif), word(Temp),
             tenths(GfRaw))
        .arg(tenths(PP));
}

}  // namespace

QString traceFieldName(int field)
{
    static const char* const names[kTraceFields] = {"TIME ms", "CLOCK",   "DIRECTION", "LINK", "COMMAND",
                                                    "ARG",     "OUTCOME", "VALUES",    "BYTES"};
    return field >= 0 && field < kTraceFields ? QString::fromLatin1(names[field]) : QString();
}

QString traceHeaderLine()
{
    QStringList names;
    for (int f = 0; f < kTraceFields; ++f)
        names << traceFieldName(f);
    return names.join(u'\t');
}

bool isTraceFailure(TraceOutcome o)
{
    switch (o) {
    case TraceOutcome::WriteFailed:
    case TraceOutcome::EchoMismatch:
    case TraceOutcome::Short:
    case TraceOutcome::Timeout:
    case TraceOutcome::ConnectionClosed:
    case TraceOutcome::OpenFailed: return true;
    default: return false;
    }
}

QString outcomeName(TraceOutcome outcome)
{
    static const char* const names[kTraceOutcomes] = {
        "sent",          "write failed", "received",  "reply complete", "automatic frame",
        "echo mismatch", "short",        "surplus",   "time-out",       "connection closed",
        "flushed",       "dropped",      "connected", "open failed",    "stray"};
    const int i = static_cast<int>(outcome);
    return i >= 0 && i < kTraceOutcomes ? QString::fromLatin1(names[i]) : QString();
}

QString traceField(const TraceRecord& r, int field)
{
    const QString none = QStringLiteral("-");
    switch (field) {
    case FieldTime: return QString::number(r.monoMs, 'f', 3);
    case FieldClock: {
        // Local time is costly to work out; records come many to a second,
        // so the date and time of the last second are kept (one thread only).
        static qint64 lastSecond = std::numeric_limits<qint64>::min();
        static QString lastText;
        const qint64 second = r.wallMs >= 0 ? r.wallMs / 1000 : (r.wallMs - 999) / 1000;
        if (second != lastSecond) {
            lastText = QDateTime::fromSecsSinceEpoch(second).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss."));
            lastSecond = second;
        }
        return lastText + QStringLiteral("%1").arg(r.wallMs - 1000 * second, 3, 10, QChar(u'0'));
    }
    case FieldDirection:
        return r.dir == TraceDirection::PcToSensor ? QStringLiteral("PC->SENSOR") : QStringLiteral("SENSOR->PC");
    case FieldLink: return r.link.isEmpty() ? none : oneLine(r.link);
    case FieldCommand:
        return r.command < 0 ? none
                             : QStringLiteral("%1 %2").arg(r.command).arg(
                                 QLatin1String(frame::commandName(static_cast<std::uint16_t>(r.command))));
    case FieldArg: return r.arg < 0 ? none : QString::number(r.arg);
    case FieldValues: {
        const QString values = measurementValues(r);
        return values.isEmpty() ? none : values;
    }
    case FieldBytes: return r.bytes.isEmpty() ? none : QString::fromLatin1(r.bytes.toHex(' '));
    case FieldOutcome:
        switch (r.outcome) {
        case TraceOutcome::WriteFailed:
            if (r.count >= 0)
                return QStringLiteral("write failed: %1 of %2 bytes written").arg(r.count).arg(r.bytes.size());
            return QStringLiteral("write failed: ")
                + (r.note.isEmpty() ? QStringLiteral("error %1").arg(r.count) : oneLine(r.note.trimmed()));
        case TraceOutcome::EchoMismatch: return QStringLiteral("echo mismatch at byte %1").arg(r.count);
        case TraceOutcome::Short: return QStringLiteral("short by ") + plural(r.count, "byte", "bytes");
        case TraceOutcome::Surplus: return QStringLiteral("surplus ") + plural(r.count, "byte", "bytes");
        case TraceOutcome::Timeout: return QStringLiteral("time-out after %1 ms").arg(r.ms);
        case TraceOutcome::Flushed: return plural(r.count, "byte", "bytes") + QStringLiteral(" flushed");
        case TraceOutcome::Dropped: return plural(r.count, "byte", "bytes") + QStringLiteral(" dropped");
        case TraceOutcome::OpenFailed: return QStringLiteral("open failed: ") + oneLine(r.note.trimmed());
        case TraceOutcome::Stray:
            return QStringLiteral("stray, ") + plural(r.count, "byte", "bytes") + QStringLiteral(" passed over")
                + (r.note.isEmpty() ? QString() : QStringLiteral(": ") + oneLine(r.note));
        default: return outcomeName(r.outcome);
        }
    }
    return QString();
}

QString formatTraceLine(const TraceRecord& r)
{
    QString line;
    line.reserve(200);
    for (int f = 0; f < kTraceFields; ++f) {
        if (f > 0)
            line += u'\t';
        line += traceField(r, f);
    }
    return line;
}

FrameTrace::FrameTrace(int capacity, QObject* parent, qint64 byteBudget)
    : QObject(parent)
    , m_capacity(std::max(1, capacity))
    , m_byteBudget(std::max<qint64>(1, byteBudget))
{
    m_clock.start();
    // A reply held for its echo check is recorded at the next turn of the
    // event loop at the latest.
    m_settleTimer.setSingleShot(true);
    m_settleTimer.setInterval(0);
    connect(&m_settleTimer, &QTimer::timeout, this, &FrameTrace::settle);
}

FrameTrace::~FrameTrace()
{
    settle();
}

namespace {
// The memory a record takes in the ring: the record itself, its bytes and
// note, and what the allocator adds to each of those. The ring's byte bound
// counts it, so that the ring, not the run's length, bounds the memory.
constexpr qint64 kAllocationOverhead = 32;
qint64 heldBytes(const TraceRecord& r)
{
    qint64 held = qint64(sizeof(TraceRecord));
    if (!r.bytes.isEmpty())
        held += r.bytes.size() + kAllocationOverhead;
    if (!r.note.isEmpty())
        held += 2 * r.note.size() + kAllocationOverhead;
    if (!r.noteShown.isEmpty())
        held += 2 * r.noteShown.size() + kAllocationOverhead;
    return held;
}
}  // namespace

void FrameTrace::clear()
{
    settle();
    // A fresh deque: the memory of a long or junk-filled ring goes back.
    std::deque<TraceRecord>().swap(m_ring);
    m_ringBytes = 0;
    m_droppedOldest = 0;
    m_totals = {};
}

bool FrameTrace::openFile(const QString& path, QString* error, bool append)
{
    if (m_file.isOpen())
        m_file.close();
    m_file.setFileName(path);
    // Unbuffered: each line goes to the system as it is written, and a
    // failure shows at that line.
    if (!m_file.open(QIODevice::WriteOnly | (append ? QIODevice::Append : QIODevice::Truncate) | QIODevice::Text
                     | QIODevice::Unbuffered)) {
        if (error)
            *error = m_file.errorString();
        return false;
    }
    if (m_file.size() == 0 && !writeLine(traceHeaderLine().toUtf8() + '\n', error)) {
        m_file.close();
        return false;
    }
    return true;
}

bool FrameTrace::writeLine(const QByteArray& line, QString* error)
{
    const qint64 before = m_file.size();
    qint64 done = 0;
    while (done < line.size()) {
        // A write cut short by a full disk reports no reason; the next one does.
        const qint64 n = m_file.write(line.constData() + done, line.size() - done);
        if (n <= 0)
            break;
        done += n;
    }
    if (done == line.size())
        return true;
    if (error)
        *error = m_file.errorString();
    if (done > 0)
        m_file.resize(before);  // the file ends with its last whole line
    return false;
}

TraceRecord& FrameTrace::begin(TraceDirection dir, TraceOutcome outcome)
{
    TraceRecord& r = m_ring.emplace_back();
    ++m_end;
    r.monoMs = static_cast<double>(m_clock.nsecsElapsed()) / 1e6;
    r.wallMs = QDateTime::currentMSecsSinceEpoch();
    r.dir = dir;
    r.link = m_link;
    r.outcome = outcome;
    return r;
}

void FrameTrace::setBounds(int capacity, qint64 byteBudget)
{
    m_capacity = std::max(1, capacity);
    m_byteBudget = byteBudget;
    keepWithinBounds();
}

void FrameTrace::keepWithinBounds()
{
    // The newest record always stays.
    while (m_ring.size() > 1 && (m_ring.size() > static_cast<size_t>(m_capacity) || m_ringBytes > m_byteBudget)) {
        m_ringBytes -= heldBytes(m_ring.front());
        m_ring.pop_front();
        ++m_droppedOldest;
    }
}

void FrameTrace::commit(TraceRecord& r)
{
    m_ringBytes += heldBytes(r);
    keepWithinBounds();
    if (!m_file.isOpen())
        return;
    QString why;
    if (!writeLine(formatTraceLine(r).toUtf8() + '\n', &why)) {
        m_file.close();
        emit fileError(why);
    }
}

void FrameTrace::count(qint64 TraceCounters::*field, qint64 n)
{
    m_totals.*field += n;
    m_connection.*field += n;
}

void FrameTrace::add(TraceRecord record)
{
    settle();
    TraceRecord& r = begin(record.dir, record.outcome);
    const double mono = r.monoMs;
    const qint64 wall = r.wallMs;
    const QString link = r.link;
    r = std::move(record);
    if (r.monoMs == 0)
        r.monoMs = mono;
    if (r.wallMs == 0)
        r.wallMs = wall;
    if (r.link.isEmpty())
        r.link = link;
    commit(r);
}

void FrameTrace::opened(const QString& link, bool ok, const QString& status, const QString& statusShown)
{
    settle();
    abandonPending();
    m_link = link;
    m_linkShown.clear();
    m_connection = {};
    if (ok && m_everOpened)
        ++m_totals.reconnects;
    m_everOpened = m_everOpened || ok;
    m_closed = !ok;
    TraceRecord& r = begin(TraceDirection::PcToSensor, ok ? TraceOutcome::Connected : TraceOutcome::OpenFailed);
    r.note = status;
    if (statusShown != status)
        r.noteShown = statusShown;
    commit(r);
}

void FrameTrace::written(const std::uint8_t* frame, int n, std::int64_t result, const QString& why,
                         const QString& whyShown)
{
    settle();
    abandonPending();
    const bool header = frame && n >= 6;
    m_command = header ? frame::getWord(frame, 1) : -1;
    m_arg = header && frame::hasArgument(static_cast<std::uint16_t>(m_command)) ? frame::getWord(frame, 2) : -1;
    TraceRecord& r = begin(TraceDirection::PcToSensor, result == n ? TraceOutcome::Sent : TraceOutcome::WriteFailed);
    r.command = m_command;
    r.arg = m_arg;
    if (frame && n > 0)
        r.bytes.append(reinterpret_cast<const char*>(frame), n);
    r.count = static_cast<int>(result);
    if (result != n) {
        r.note = why;
        if (whyShown != why)
            r.noteShown = whyShown;
    }
    commit(r);
    if (result == n)
        count(&TraceCounters::exchanges);  // what went out on the line, as the sensor counts it
    m_awaiting = m_command >= 0 && frame::awaitsReply(static_cast<std::uint16_t>(m_command));
    if (!m_awaiting)
        m_command = m_arg = -1;
}

void FrameTrace::received(const std::uint8_t* bytes, std::int64_t n)
{
    settle();
    if (n <= 0)
        return;
    m_pending.append(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(n));
    if (m_awaiting) {
        m_taken += static_cast<int>(n);
        return;
    }
    // No request outstanding: frames the sensor sends on its own, one record each.
    while (m_pending.size() >= frame::kBytes) {
        TraceRecord& r = begin(TraceDirection::SensorToPc, TraceOutcome::AutoFrame);
        r.bytes.append(m_pending.constData(), frame::kBytes);
        r.command = frame::getWord(reinterpret_cast<const std::uint8_t*>(m_pending.constData()), 1);
        commit(r);
        m_pending.remove(0, frame::kBytes);
    }
}

void FrameTrace::dropped(const std::uint8_t* bytes, std::int64_t n)
{
    settle();
    if (n <= 0)
        return;
    count(&TraceCounters::bytesDropped, n);
    if (m_awaiting) {
        // Beyond the reply of the exchange in progress: shown with that reply.
        m_pending.append(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(n));
        m_surplus += static_cast<int>(n);
        return;
    }
    TraceRecord& r = begin(TraceDirection::SensorToPc, TraceOutcome::Dropped);
    r.bytes.append(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(n));
    r.count = static_cast<int>(n);
    commit(r);
}

void FrameTrace::flushed(const std::uint8_t* bytes, std::int64_t n)
{
    settle();
    if (n <= 0)
        return;
    abandonPending();
    count(&TraceCounters::bytesDropped, n);
    TraceRecord& r = begin(TraceDirection::SensorToPc, TraceOutcome::Flushed);
    r.bytes.append(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(n));
    r.count = static_cast<int>(n);
    commit(r);
}

void FrameTrace::autoFrame(const std::uint8_t* bytes)
{
    settle();
    TraceRecord& r = begin(TraceDirection::SensorToPc, TraceOutcome::AutoFrame);
    r.bytes.append(reinterpret_cast<const char*>(bytes), frame::kBytes);
    r.command = frame::getWord(bytes, 1);
    commit(r);
}

void FrameTrace::stray(const std::uint8_t* bytes, std::int64_t n, const QString& note, const QString& noteShown)
{
    settle();
    if (n <= 0)
        return;
    count(&TraceCounters::bytesDropped, n);
    count(&TraceCounters::strays);
    TraceRecord& r = begin(TraceDirection::SensorToPc, TraceOutcome::Stray);
    r.command = m_command;
    r.arg = m_arg;
    r.bytes.append(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(n));
    r.count = static_cast<int>(n);
    r.note = note;
    if (noteShown != note)
        r.noteShown = noteShown;
    commit(r);
}

void FrameTrace::closed()
{
    settle();
    m_closed = true;
    TraceRecord& r = begin(TraceDirection::SensorToPc, TraceOutcome::ConnectionClosed);
    r.command = m_command;
    r.arg = m_arg;
    commit(r);
}

void FrameTrace::replyEnded(std::int32_t bytesToRead, double seconds)
{
    settle();
    m_heldMs = static_cast<int>(std::lround(seconds * 1000.0));
    m_heldCount = 0;
    if (bytesToRead == 0) {
        m_heldOutcome = m_surplus > 0 ? TraceOutcome::Surplus : TraceOutcome::ReplyComplete;
        m_heldCount = m_surplus;
    } else if (bytesToRead < 0) {
        m_heldOutcome = TraceOutcome::Surplus;
        m_heldCount = -bytesToRead;
        count(&TraceCounters::bytesDropped, m_heldCount);
    } else if (m_closed) {
        m_heldOutcome = TraceOutcome::ConnectionClosed;
    } else if (m_taken == 0) {
        m_heldOutcome = TraceOutcome::Timeout;
    } else {
        m_heldOutcome = TraceOutcome::Short;
        m_heldCount = bytesToRead;
    }
    if (bytesToRead != 0)
        count(&TraceCounters::timeouts);
    m_awaiting = false;
    m_held = true;
    m_settleTimer.start();
}

void FrameTrace::echoChecked(int mismatchAt)
{
    if (!m_held)
        return;
    if (mismatchAt >= 0) {
        m_heldOutcome = TraceOutcome::EchoMismatch;
        m_heldCount = mismatchAt;
        count(&TraceCounters::echoMismatches);
    }
    settle();
}

void FrameTrace::settle()
{
    if (!m_held)
        return;
    m_held = false;
    m_settleTimer.stop();
    recordPending(m_heldOutcome, m_heldCount, m_heldMs);
}

void FrameTrace::recordPending(TraceOutcome outcome, int count, int ms)
{
    TraceRecord& r = begin(TraceDirection::SensorToPc, outcome);
    r.command = m_command;
    r.arg = m_arg;
    r.bytes.append(m_pending.constData(), m_pending.size());
    r.count = count;
    r.ms = ms;
    commit(r);
    m_pending.truncate(0);
    m_taken = 0;
    m_surplus = 0;
    m_awaiting = false;
    m_command = m_arg = -1;
}

void FrameTrace::abandonPending()
{
    // Bytes of an exchange that never ended, or the start of an automatic
    // frame that never completed: thrown away.
    if (!m_pending.isEmpty()) {
        count(&TraceCounters::bytesDropped, m_pending.size() - m_surplus);
        recordPending(TraceOutcome::Dropped, static_cast<int>(m_pending.size()), 0);
    }
    m_awaiting = false;
    m_command = m_arg = -1;
    m_taken = m_surplus = 0;
}

}  // namespace tarvo
