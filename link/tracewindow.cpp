#include "tracewindow.h"

#include "dialogs.h"
#include "fileio.h"
#include "frame.h"
#include "righthelp.h"
#include "ui_TRACEP.h"

#include <QAbstractButton>
#include <QDir>
#include <QEvent>
#include <QFontDatabase>
#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>
#include <vector>

namespace tarvo {

namespace {

constexpr int kRefreshMs = 250;
constexpr int kCounterRefreshMs = 250;

// The commands both programs send, in code order.
constexpr std::uint16_t kCommands[] = {
    frame::WriteParams, frame::WriteTeachRow, frame::ReadParams, frame::ReadTeachRow, frame::ReadMeasurement,
    frame::StoreEeprom, frame::Identify, frame::LoadEeprom, frame::ReadProfileBlock, frame::ConfirmRefCalib,
    frame::AnnounceCalibTable, frame::WriteCalibRow, frame::CompRed, frame::CompGreen, frame::CompBlue,
    frame::CompStart, frame::AutoSend};

bool isFailure(TraceOutcome o)
{
    switch (o) {
    case TraceOutcome::WriteFailed:
    case TraceOutcome::EchoMismatch:
    case TraceOutcome::Short:
    case TraceOutcome::Timeout:
    case TraceOutcome::ConnectionClosed:
    case TraceOutcome::OpenFailed:
        return true;
    default:
        return false;
    }
}

} // namespace

// --- The table --------------------------------------------------------------

TraceTableModel::TraceTableModel(const FrameTrace& trace, QObject* parent)
    : QAbstractTableModel(parent)
    , m_trace(trace)
{
}

bool TraceTableModel::matches(const TraceRecord& r) const
{
    return (m_filter.command == kAny || m_filter.command == r.command)
        && (m_filter.outcome == kAny || m_filter.outcome == static_cast<int>(r.outcome));
}

void TraceTableModel::setFilter(const Filter& filter)
{
    beginResetModel();
    m_filter = filter;
    m_rows.clear();
    m_seen = m_trace.firstSeq();
    for (quint64 seq = m_seen; seq < m_trace.endSeq(); ++seq)
        if (matches(m_trace.at(seq)))
            m_rows.push_back(seq);
    m_seen = m_trace.endSeq();
    endResetModel();
}

int TraceTableModel::catchUp()
{
    const quint64 first = m_trace.firstSeq();
    const auto kept = std::lower_bound(m_rows.begin(), m_rows.end(), first);
    if (kept != m_rows.begin()) {
        beginRemoveRows({}, 0, static_cast<int>(kept - m_rows.begin()) - 1);
        m_rows.erase(m_rows.begin(), kept);
        endRemoveRows();
    }
    std::vector<quint64> added;
    for (quint64 seq = std::max(m_seen, first); seq < m_trace.endSeq(); ++seq)
        if (matches(m_trace.at(seq)))
            added.push_back(seq);
    m_seen = m_trace.endSeq();
    if (added.empty())
        return 0;
    const int row = static_cast<int>(m_rows.size());
    beginInsertRows({}, row, row + static_cast<int>(added.size()) - 1);
    m_rows.insert(m_rows.end(), added.begin(), added.end());
    endInsertRows();
    return static_cast<int>(added.size());
}

int TraceTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TraceTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kTraceFields;
}

QVariant TraceTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TraceRecord& r = recordAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return traceField(r, index.column());
    case Qt::ForegroundRole:
        if (isFailure(r.outcome))
            return QColor(190, 0, 0);
        return {};
    case Qt::FontRole:
        if (index.column() == FieldBytes)
            return QFontDatabase::systemFont(QFontDatabase::FixedFont);
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == FieldTime || index.column() == FieldArg)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant TraceTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return traceFieldName(section);
    return {};
}

// --- The window -------------------------------------------------------------

TraceWindow::TraceWindow(FrameTrace& trace, QAbstractButton* openButton, QWidget* interfacePanel,
                         const QString& directory, QObject* parent)
    : QObject(parent)
    , m_trace(trace)
    , m_widget(std::make_unique<QWidget>())
    , m_ui(std::make_unique<Ui::TRACEP>())
    , m_model(trace)
    , m_interfacePanel(interfacePanel)
    , m_directory(directory)
{
    Ui::TRACEP& u = *m_ui;
    u.setupUi(m_widget.get());

    u.SelectTraceCommand->addItem(QStringLiteral("ALL"), TraceTableModel::kAny);
    for (std::uint16_t code : kCommands)
        u.SelectTraceCommand->addItem(QStringLiteral("%1 %2").arg(code).arg(QLatin1String(frame::commandName(code))), code);
    u.SelectTraceCommand->addItem(QStringLiteral("- (between exchanges)"), -1);
    u.SelectTraceOutcome->addItem(QStringLiteral("ALL"), TraceTableModel::kAny);
    for (int o = 0; o < kTraceOutcomes; ++o)
        u.SelectTraceOutcome->addItem(outcomeName(static_cast<TraceOutcome>(o)), o);

    QTableView* table = u.TableTrace;
    table->setModel(&m_model);
    table->verticalHeader()->hide();
    // Fixed row heights and column widths: nothing is measured per record.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
    table->horizontalHeader()->setStretchLastSection(true);
    const int digit = table->fontMetrics().horizontalAdvance(u'0');
    const int fixed = QFontMetrics(QFontDatabase::systemFont(QFontDatabase::FixedFont)).horizontalAdvance(u'0');
    const int widths[kTraceFields] = {10 * digit, 23 * digit, 13 * digit, 22 * digit, 23 * digit, 5 * digit,
                                      24 * digit, 108 * fixed};
    for (int c = 0; c < kTraceFields; ++c)
        table->setColumnWidth(c, widths[c]);

    connect(u.SelectTraceCommand, &QComboBox::currentIndexChanged, this, &TraceWindow::CBF_SelectTraceFilter);
    connect(u.SelectTraceOutcome, &QComboBox::currentIndexChanged, this, &TraceWindow::CBF_SelectTraceFilter);
    connect(u.ButtonTracePause, &QAbstractButton::toggled, this, &TraceWindow::CBF_ButtonTracePause);
    connect(u.ButtonTraceClear, &QAbstractButton::clicked, this, &TraceWindow::CBF_ButtonTraceClear);
    connect(u.ButtonTraceSave, &QAbstractButton::clicked, this, &TraceWindow::CBF_ButtonTraceSave);
    if (openButton)
        connect(openButton, &QAbstractButton::clicked, this, &TraceWindow::Show);

    m_tick.setInterval(kRefreshMs);
    connect(&m_tick, &QTimer::timeout, this, &TraceWindow::refresh);
    m_counterTick.setInterval(kCounterRefreshMs);
    connect(&m_counterTick, &QTimer::timeout, this, &TraceWindow::showInterfaceCounters);
    m_widget->installEventFilter(this);
    if (m_interfacePanel)
        m_interfacePanel->installEventFilter(this);
}

TraceWindow::~TraceWindow()
{
    if (m_interfacePanel)
        m_interfacePanel->removeEventFilter(this);
    m_widget->removeEventFilter(this);
}

bool TraceWindow::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Show || type == QEvent::Hide) {
        const bool shown = type == QEvent::Show;
        if (watched == m_widget.get()) {
            if (shown) {
                refresh();
                m_ui->TableTrace->scrollToBottom();
                m_tick.start();
            } else {
                m_tick.stop();
            }
        } else if (watched == m_interfacePanel) {
            if (shown) {
                showInterfaceCounters();
                m_counterTick.start();
            } else {
                m_counterTick.stop();
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void TraceWindow::addHelpTexts(RightClickHelp& table)
{
    const QString info = QStringLiteral("INFO!");
    table.add(QStringLiteral("ButtonTrace"), QStringLiteral(" Open the trace of every frame to and from the sensor (Ctrl+T)."), info);
    table.add(QStringLiteral("SelectTraceCommand"), QStringLiteral(" Show only the records of one command."), info);
    table.add(QStringLiteral("SelectTraceOutcome"), QStringLiteral(" Show only the records with one outcome."), info);
    table.add(QStringLiteral("ButtonTracePause"), QStringLiteral(" Hold the table; the trace goes on recording."), info);
    table.add(QStringLiteral("ButtonTraceClear"), QStringLiteral(" Forget the records and counters so far."), info);
    table.add(QStringLiteral("ButtonTraceSave"), QStringLiteral(" Save the records shown to a text file, one record a line."), info);
}

void TraceWindow::Show()
{
    m_widget->show();
    m_widget->raise();
    m_widget->activateWindow();
}

void TraceWindow::refresh()
{
    const TraceCounters c = m_trace.totals();
    Ui::TRACEP& u = *m_ui;
    u.DispTraceExchanges->setText(QString::number(c.exchanges));
    u.DispTraceTimeouts->setText(QString::number(c.timeouts));
    u.DispTraceEchoMismatches->setText(QString::number(c.echoMismatches));
    u.DispTraceBytesDropped->setText(QString::number(c.bytesDropped));
    u.DispTraceReconnects->setText(QString::number(c.reconnects));
    if (u.DispTraceLink->text() != m_trace.currentLink())
        u.DispTraceLink->setText(m_trace.currentLink());
    if (u.ButtonTracePause->isChecked())
        return;
    // Follow new records only while the user is at the end of the table.
    const QScrollBar* bar = u.TableTrace->verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum();
    if (m_model.catchUp() > 0 && atEnd)
        u.TableTrace->scrollToBottom();
}

void TraceWindow::showInterfaceCounters()
{
    const TraceCounters c = m_trace.connection();
    const std::pair<const char*, qint64> fields[] = {{"DispInterfaceExchanges", c.exchanges},
                                                     {"DispInterfaceTimeouts", c.timeouts},
                                                     {"DispInterfaceEchoMismatches", c.echoMismatches}};
    for (const auto& [name, value] : fields)
        if (auto* display = m_interfacePanel->findChild<QLineEdit*>(QLatin1String(name)))
            display->setText(QString::number(value));
}

void TraceWindow::CBF_ButtonTracePause(bool paused)
{
    if (!paused)
        refresh();
}

void TraceWindow::CBF_ButtonTraceClear()
{
    m_trace.clear();
    m_model.setFilter(m_model.filter());
    refresh();
}

void TraceWindow::CBF_SelectTraceFilter()
{
    TraceTableModel::Filter f;
    f.command = m_ui->SelectTraceCommand->currentData().toInt();
    f.outcome = m_ui->SelectTraceOutcome->currentData().toInt();
    m_model.setFilter(f);
    m_ui->TableTrace->scrollToBottom();
}

void TraceWindow::CBF_ButtonTraceSave()
{
    FileDialogRequest request;
    request.directory = m_directory;
    request.defaultFile = QStringLiteral("trace.txt");
    request.filter = QStringLiteral("*.txt");
    request.title = QStringLiteral("trace");
    request.save = true;
    const QString path = dialogs().selectFile(request);
    if (path.isEmpty())
        return;
    // The records the table shows, one a line, in the format of --trace.
    QByteArray text;
    for (int row = 0; row < m_model.rowCount(); ++row)
        text += formatTraceLine(m_model.recordAt(row)).toUtf8() + '\n';
    QString error;
    if (saveWholeFile(path, text, &error))
        return;
    dialogs().message(QStringLiteral("ATTENTION!"), QStringLiteral(" The trace could not be saved to \n %1 \n (%2).")
                                                        .arg(QDir::toNativeSeparators(path), error));
}

} // namespace tarvo
