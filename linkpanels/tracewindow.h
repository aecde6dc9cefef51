// The TRACE window of both programs: the frame trace's records in a table
// that follows new ones unless the user scrolled back, filtered by command
// and by outcome (or failures only), with the values of measurement frames
// decoded, the counters, PAUSE, CLEAR, COPY and SAVE, the trace file of the
// run and a word when the ring let old records go. It also keeps the current
// connection's counters up to date on the interface panel.
//
// The window reads the trace only while it is shown, four times a second,
// so the live loop pays next to nothing for it; closed, it costs nothing.
#pragma once

#include "frametrace.h"

#include <QAbstractTableModel>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <memory>

class QAbstractButton;
class QWidget;
namespace Ui {
class TRACEP;
}

namespace tarvo {

class RightClickHelp;

// The records of a trace that pass a filter, in order, as table rows.
class TraceTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kAny = -2;       // filter value: every command or outcome
    static constexpr int kFailures = -3;  // outcome filter: every failed exchange (isTraceFailure)
    struct Filter {
        int command = kAny;  // a command code, -1 for records outside exchanges, or kAny
        int outcome = kAny;  // a TraceOutcome, or kAny
    };

    explicit TraceTableModel(const FrameTrace& trace, QObject* parent = nullptr);

    bool matches(const TraceRecord& r) const;
    void setFilter(const Filter& filter);  // rebuilds the rows from the trace
    Filter filter() const { return m_filter; }
    // Drops rows the ring no longer holds and appends the records added since
    // the last call; returns the count appended.
    int catchUp();
    const TraceRecord& recordAt(int row) const { return m_trace.at(m_rows[static_cast<size_t>(row)]); }
    // The header line and the given rows as trace lines, one a line.
    QString linesOf(const QList<int>& rows) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const FrameTrace& m_trace;
    Filter m_filter;
    std::deque<quint64> m_rows;  // sequence numbers in the trace
    quint64 m_seen = 0;          // records before this one were looked at
};

class TraceWindow final : public QObject {
    Q_OBJECT
public:
    // openButton opens the window; interfacePanel gets the connection's
    // counters; SAVE starts in directory.
    TraceWindow(FrameTrace& trace, QAbstractButton* openButton, QWidget* interfacePanel, const QString& directory,
                QObject* parent = nullptr);
    ~TraceWindow() override;

    QWidget* widget() const { return m_widget.get(); }
    Ui::TRACEP& ui() const { return *m_ui; }
    TraceTableModel& model() { return m_model; }

    // Right-click help of ButtonTrace and of the window's controls.
    static void addHelpTexts(RightClickHelp& table);

    void Show();
    // One look at the trace: counters, and new records unless paused.
    void refresh();
    void CBF_ButtonTracePause(bool paused);
    void CBF_ButtonTraceClear();
    void CBF_ButtonTraceSave();
    void CBF_ButtonTraceCopy();
    void CBF_SelectTraceFilter();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showInterfaceCounters();
    void showFileStopped(const QString& why);

    FrameTrace& m_trace;
    std::unique_ptr<QWidget> m_widget;
    std::unique_ptr<Ui::TRACEP> m_ui;
    TraceTableModel m_model;
    QWidget* m_interfacePanel;
    QString m_directory;
    QTimer m_tick;         // while the window is shown
    QTimer m_counterTick;  // while the interface panel is shown
};

}  // namespace tarvo
