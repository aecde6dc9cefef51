// The frame trace: every frame written to the sensor and every byte received
// from it, junk, late replies and flushed input included, as records in a
// bounded ring, with the outcome of each exchange and a few counters. The link
// and the exchange report to it at the few points where bytes move or an
// exchange ends; the TRACE window, the trace file and the simulator's trace
// read the records and print them with the one formatter below.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <deque>

namespace tarvo {

enum class TraceDirection : std::uint8_t { PcToSensor, SensorToPc };

enum class TraceOutcome : std::uint8_t {
    Sent,              // a frame written in full
    WriteFailed,       // count: what the write call returned; note: why, in words
    Received,          // a frame as the sensor received it (simulator)
    ReplyComplete,     // the 36 bytes of the reply, in time
    AutoFrame,         // a frame the sensor sent on its own
    EchoMismatch,      // count: the first byte that differs
    Short,             // count: bytes missing when the time limit passed
    Surplus,           // count: bytes beyond the 36 of the reply
    Timeout,           // ms: waited without a single byte
    ConnectionClosed,  // the peer closed the connection
    Flushed,           // count: input bytes emptied before a request
    Dropped,           // count: bytes read and thrown away between exchanges
    Connected,         // the link was opened
    OpenFailed,        // note: why the link could not be opened
    Stray,             // count: bytes passed over while a reply was awaited; note: what they were
};
constexpr int kTraceOutcomes = static_cast<int>(TraceOutcome::Stray) + 1;

struct TraceRecord {
    double monoMs = 0;  // milliseconds since the trace started
    qint64 wallMs = 0;  // wall-clock time, milliseconds since the epoch
    TraceDirection dir = TraceDirection::PcToSensor;
    QString link;      // "RS-232 port 1 (/dev/ttyS0)" or "TCP host:port"
    int command = -1;  // command code of the exchange; -1: none
    int arg = -1;      // its argument word; -1: none, or a command without one
    QByteArray bytes;
    TraceOutcome outcome = TraceOutcome::Sent;
    int count = 0;
    int ms = 0;
    QString note;
    // The note in the user's language, for the TRACE window; empty when it
    // reads as the note (the file always takes the note).
    QString noteShown;
};

// The columns of a record, as the window shows them and the file joins them.
// The long bytes come last, so a line reads well and the table's outcome
// column stays in view. VALUES decodes a measurement frame from the sensor.
enum TraceField {
    FieldTime,
    FieldClock,
    FieldDirection,
    FieldLink,
    FieldCommand,
    FieldArg,
    FieldOutcome,
    FieldValues,
    FieldBytes,
    kTraceFields
};
QString traceFieldName(int field);
QString traceField(const TraceRecord& r, int field);
QString outcomeName(TraceOutcome outcome);  // the kind alone, for filters
// Outcomes of an exchange that went wrong: the write, the reply or the line.
bool isTraceFailure(TraceOutcome outcome);
// One record as one line of text (no line end): the fields, tab-separated.
QString formatTraceLine(const TraceRecord& r);
// The first line of a trace file and of a saved trace: the column names.
QString traceHeaderLine();

struct TraceCounters {
    qint64 exchanges = 0;  // frames written in full
    qint64 timeouts = 0;   // exchanges without a complete reply in time
    qint64 echoMismatches = 0;
    qint64 bytesDropped = 0;  // dropped, flushed and surplus bytes
    qint64 reconnects = 0;    // openings after the first successful one
    qint64 strays = 0;        // frames and runs of bytes passed over while a reply was awaited

    bool operator==(const TraceCounters&) const = default;
};

class FrameTrace : public QObject {
    Q_OBJECT
public:
    // The ring keeps at most this many records, and at most this many bytes
    // of memory in them (a sensor that sends junk makes few, long records).
    static constexpr int kDefaultCapacity = 100000;
    static constexpr qint64 kDefaultByteBudget = 16 * 1024 * 1024;
    explicit FrameTrace(int capacity = kDefaultCapacity, QObject* parent = nullptr,
                        qint64 byteBudget = kDefaultByteBudget);
    ~FrameTrace() override;

    // Hooks of the link and the exchange. `why` says in words why a write
    // did not take the whole frame. Each text that comes in English and in
    // the user's language (the `...Shown` one) gives the file the first and
    // the window the second.
    void opened(const QString& link, bool ok, const QString& status, const QString& statusShown = QString());
    void written(const std::uint8_t* frame, int n, std::int64_t result, const QString& why = QString(),
                 const QString& whyShown = QString());
    void received(const std::uint8_t* bytes, std::int64_t n);  // into the receive buffer
    void dropped(const std::uint8_t* bytes, std::int64_t n);   // read and thrown away
    void flushed(const std::uint8_t* bytes, std::int64_t n);   // emptied from the input queue
    void closed();
    // Passed over while a reply is awaited: a frame that answers another
    // request (note says which), or bytes of no whole frame.
    // A frame the sensor sent on its own, taken in while a reply was awaited.
    void autoFrame(const std::uint8_t* bytes);
    void stray(const std::uint8_t* bytes, std::int64_t n, const QString& note, const QString& noteShown = QString());
    // The wait for a reply is over: bytesToRead as the exchange left it.
    void replyEnded(std::int32_t bytesToRead, double seconds);
    // The reply just ended was echo-checked: first differing byte, or -1.
    void echoChecked(int mismatchAt);

    // A record made elsewhere (the simulator's side): time stamps and the
    // link are filled in when empty.
    void add(TraceRecord r);
    // Records a reply held back for its echo check now (normally done by the
    // next hook or the next turn of the event loop).
    void settle();

    // The ring: records firstSeq() .. endSeq()-1 are kept.
    quint64 firstSeq() const { return m_end - m_ring.size(); }
    quint64 endSeq() const { return m_end; }
    const TraceRecord& at(quint64 seq) const { return m_ring[static_cast<size_t>(seq - firstSeq())]; }
    int capacity() const { return m_capacity; }
    // A program that shows no records keeps a small ring.
    void setBounds(int capacity, qint64 byteBudget);
    qint64 byteBudget() const { return m_byteBudget; }
    // Records the ring let go to stay within its bounds, since the last clear.
    quint64 droppedOldest() const { return m_droppedOldest; }
    // Forgets every record and the totals; the file keeps its lines.
    void clear();

    TraceCounters totals() const { return m_totals; }
    TraceCounters connection() const { return m_connection; }  // since the last opening
    QString currentLink() const { return m_link; }
    // The line's name as the window shows it (the user's language); unset: currentLink.
    QString currentLinkShown() const { return m_linkShown.isEmpty() ? m_link : m_linkShown; }
    void setCurrentLinkShown(const QString& name) { m_linkShown = name; }

    // Writes the header line (unless `append` continues a file that has
    // lines), then every record from now on as a line to the file, each
    // written through at once; the file is replaced, or with `append`
    // continued. A write that fails (a full disk) takes back the part of its
    // line that got out, so the file ends with a whole line, closes the file
    // and says why with fileError.
    bool openFile(const QString& path, QString* error = nullptr, bool append = false);
    QString fileName() const { return m_file.fileName(); }
    bool fileOpen() const { return m_file.isOpen(); }

signals:
    void fileError(const QString& text);

private:
    TraceRecord& begin(TraceDirection dir, TraceOutcome outcome);
    void commit(TraceRecord& r);
    void abandonPending();
    void recordPending(TraceOutcome outcome, int count, int ms);
    void count(qint64 TraceCounters::*field, qint64 n = 1);
    bool writeLine(const QByteArray& line, QString* error);
    void keepWithinBounds();

    int m_capacity;
    qint64 m_byteBudget;
    std::deque<TraceRecord> m_ring;
    qint64 m_ringBytes = 0;  // bytes and notes of the records in the ring
    quint64 m_end = 0;
    quint64 m_droppedOldest = 0;
    QElapsedTimer m_clock;
    QString m_link;
    QString m_linkShown;
    QFile m_file;
    TraceCounters m_totals;
    TraceCounters m_connection;
    bool m_everOpened = false;
    bool m_closed = false;

    // The exchange in progress.
    bool m_awaiting = false;
    int m_command = -1;
    int m_arg = -1;
    QByteArray m_pending;  // bytes received for it (or of an automatic frame)
    int m_taken = 0;       // of which landed in the receive buffer
    int m_surplus = 0;     // of which were read beyond the reply and dropped
    bool m_held = false;   // the reply record waits for the echo check
    TraceOutcome m_heldOutcome = TraceOutcome::ReplyComplete;
    int m_heldCount = 0;
    int m_heldMs = 0;
    bool m_heldFailed = false;
    QTimer m_settleTimer;
};

}  // namespace tarvo
