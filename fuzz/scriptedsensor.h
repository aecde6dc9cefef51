// An in-memory byte channel with a sensor behind it that the fuzz target
// scripts: what the sensor sends, in which pieces, how late, and when it
// hangs up. Bytes arrive only when the harness calls tick(), once per turn
// of the event loop, so a run is the same every time.
#pragma once

#include "bytechannel.h"

#include <QByteArray>
#include <deque>
#include <functional>

namespace tarvo::fuzz {

class ScriptedChannel final : public ByteChannel {
    Q_OBJECT
public:
    enum class Kind {
        Serial,  // bytes beyond the input queue are lost; flushQueues empties it
        Tcp,     // bytes beyond the receive buffer wait at the sender; hanging up is signalled
    };

    // What the sensor sends: bytes that arrive after `ticks` more turns, or
    // only together with the next request (late), or the end of the line.
    struct Arrival {
        QByteArray bytes;
        int ticks = 0;
        bool late = false;
        bool hangUp = false;
    };

    ScriptedChannel(Kind kind, std::int64_t capacity, QObject* parent = nullptr);

    // The sensor's side.
    std::function<int()> onOpen;                                    // 0, or the failure code to return
    std::function<void(const QByteArray&)> onRequest;               // every write of the PC
    std::function<void(const std::uint8_t*, std::int64_t)> onRead;  // every read, to check its target
    void send(Arrival a) { m_pending.push_back(std::move(a)); }
    // One turn: the next due arrival enters the input (and readyRead is
    // emitted). False when nothing entered: nothing is pending, or the
    // receive buffer is full.
    bool tick();
    // Everything pending, late or not, enters as far as there is room; the rest is dropped.
    void flushPending();
    bool hasPending() const { return !m_pending.empty(); }
    std::int64_t capacity() const { return m_capacity; }
    int opens() const { return m_opens; }

    int open(const QString& address, int port, int timeoutMs) override;
    bool isOpen() const override { return m_open; }
    void close() override;
    std::int64_t write(const std::uint8_t* data, std::int64_t n, int timeoutMs) override;
    std::int64_t bytesAvailable() const override { return m_input.size() - m_readPos; }
    std::int64_t read(std::uint8_t* data, std::int64_t max) override;
    void flushQueues() override;
    bool waitForReadyRead(int msecs) override;

private:
    // Puts an arrival into the input; false when a full TCP buffer holds it back.
    bool enter(Arrival& a);

    Kind m_kind;
    std::int64_t m_capacity;
    bool m_open = false;
    int m_opens = 0;
    QByteArray m_input;  // what arrived; read up to m_readPos
    std::int64_t m_readPos = 0;
    std::deque<Arrival> m_pending;
};

}  // namespace tarvo::fuzz
