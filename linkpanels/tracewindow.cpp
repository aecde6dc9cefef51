#include "tracewindow.h"

#include "dialogs.h"
#include "fileio.h"
#include "frame.h"
#include "righthelp.h"
#include "ui_TRACEP.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLocale>
#include <QScrollBar>
#include <QShortcut>
#include <algorithm>
#include <vector>

namespace tarvo {

namespace {

constexpr int kRefreshMs = 250;
constexpr int kCounterRefreshMs = 250;

// The commands both programs send, in code order.
constexpr std::uint16_t kCommands[] = {
    frame::WriteParams,        frame::WriteTeachRow, frame::ReadParams, frame::ReadTeachRow,     frame::ReadMeasurement,
    frame::StoreEeprom,        frame::Identify,      frame::LoadEeprom, frame::ReadProfileBlock, frame::ConfirmRefCalib,
    frame::AnnounceCalibTable, frame::WriteCalibRow, frame::CompRed,    frame::CompGreen,        frame::CompBlue,
    frame::CompStart,          frame::AutoSend};

// The table's column names, outcomes and command names in the user's
// language; the trace file and COPY keep the English ones.
[[maybe_unused]] const char* const kShownNames[] = {QT_TRANSLATE_NOOP("TraceWindow", "TIME ms"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "CLOCK"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "DIRECTION"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "LINK"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "COMMAND"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "ARG"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "OUTCOME"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "VALUES"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "BYTES"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "sent"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "write failed"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "received"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "reply complete"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "automatic frame"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "echo mismatch"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "short"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "surplus"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "time-out"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "connection closed"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "flushed"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "dropped"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "connected"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "open failed"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "stray"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "write parameters"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "write teach row"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "read parameters"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "read teach row"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "read measurement"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "store in EEPROM"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "identification"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "load from EEPROM"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "read profile block"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "confirm reference calibration"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "announce calibration table"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "write calibration row"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "red factors"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "green factors"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "blue factors"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "start factor tables"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "automatic sending"),
                                                    QT_TRANSLATE_NOOP("TraceWindow", "unknown command")};

QString shownName(const QString& english)
{
    return QCoreApplication::translate("TraceWindow", english.toUtf8().constData());
}

QString commandShown(std::uint16_t code)
{
    return QStringLiteral("%1 %2").arg(code).arg(shownName(QLatin1String(frame::commandName(code))));
}

// "N byte" or "N bytes" in the user's language; English as the trace file writes it.
QString bytesShown(int n)
{
    return n == 1 ? QCoreApplication::translate("TraceWindow", "1 byte")
                  : QCoreApplication::translate("TraceWindow", "%n bytes", nullptr, n);
}

// A field as the table shows it: the file's text, its words translated.
QString shownField(const TraceRecord& r, int field)
{
    QString english = traceField(r, field);
    if (field == FieldCommand)
        return r.command < 0 ? english : commandShown(static_cast<std::uint16_t>(r.command));
    if (field != FieldOutcome)
        return english;
    const auto rest = [&](const QString& prefix) { return english.mid(prefix.size()); };
    // The note as the window shows it: in the user's language where the
    // record has it so, one line as in the file.
    const auto note = [&](const QString& inFile) {
        return r.noteShown.isEmpty() ? inFile : r.noteShown.trimmed().replace(u'\n', u' ');
    };
    switch (r.outcome) {
    case TraceOutcome::WriteFailed:
        if (r.count >= 0)
            return QCoreApplication::translate("TraceWindow", "write failed: %1 of %2 bytes written")
                .arg(r.count)
                .arg(r.bytes.size());
        return QCoreApplication::translate("TraceWindow", "write failed: ")
            + note(rest(QStringLiteral("write failed: ")));
    case TraceOutcome::EchoMismatch:
        return QCoreApplication::translate("TraceWindow", "echo mismatch at byte %1").arg(r.count);
    case TraceOutcome::Short: return QCoreApplication::translate("TraceWindow", "short by %1").arg(bytesShown(r.count));
    case TraceOutcome::Surplus:
        return QCoreApplication::translate("TraceWindow", "surplus %1").arg(bytesShown(r.count));
    case TraceOutcome::Timeout: return QCoreApplication::translate("TraceWindow", "time-out after %1 ms").arg(r.ms);
    case TraceOutcome::Flushed:
        return QCoreApplication::translate("TraceWindow", "%1 flushed").arg(bytesShown(r.count));
    case TraceOutcome::Dropped:
        return QCoreApplication::translate("TraceWindow", "%1 dropped").arg(bytesShown(r.count));
    case TraceOutcome::OpenFailed:
        return QCoreApplication::translate("TraceWindow", "open failed: ")
            + note(rest(QStringLiteral("open failed: ")));
    case TraceOutcome::Stray: {
        const QString head = QStringLiteral("stray, %1 %2 passed over")
                                 .arg(r.count)
                                 .arg(QLatin1String(r.count == 1 ? "byte" : "bytes"));
        const QString tail = english.mid(head.size());
        return QCoreApplication::translate("TraceWindow", "stray, %1 passed over").arg(bytesShown(r.count))
            + (r.noteShown.isEmpty() || tail.isEmpty() ? tail : QStringLiteral(": ") + note(tail));
    }
    default: return shownName(english);
    }
}

// The table shows a frame's bytes in two lines of 18, so that the row fits
// the window; longer records say how many bytes the rest holds (the tooltip,
// COPY and SAVE give them all).
constexpr int kBytesPerLine = 18;
constexpr int kTipBytes = 256;

QString hexLines(const QByteArray& bytes)
{
    const qsizetype n = bytes.size();
    QString text = QString::fromLatin1(bytes.left(kBytesPerLine).toHex(' '));
    if (n > kBytesPerLine) {
        const bool more = n > 2 * kBytesPerLine;
        text += u'\n'
            + QString::fromLatin1(bytes.mid(kBytesPerLine, more ? kBytesPerLine - 3 : kBytesPerLine).toHex(' '));
        if (more)
            text += QStringLiteral(" …+%1").arg(n - 2 * kBytesPerLine + 3);
    }
    return text;
}

}  // namespace

// --- The table --------------------------------------------------------------

TraceTableModel::TraceTableModel(const FrameTrace& trace, QObject* parent)
    : QAbstractTableModel(parent)
    , m_trace(trace)
{
}

bool TraceTableModel::matches(const TraceRecord& r) const
{
    const bool outcome = m_filter.outcome == kAny || m_filter.outcome == static_cast<int>(r.outcome)
        || (m_filter.outcome == kFailures && isTraceFailure(r.outcome));
    return outcome && (m_filter.command == kAny || m_filter.command == r.command);
}

QString TraceTableModel::linesOf(const QList<int>& rows) const
{
    QString text = traceHeaderLine() + u'\n';
    for (int row : rows)
        if (row >= 0 && row < rowCount())
            text += formatTraceLine(recordAt(row)) + u'\n';
    return text;
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
        if (index.column() == FieldBytes && !r.bytes.isEmpty())
            return hexLines(r.bytes);
        return shownField(r, index.column());
    case Qt::ToolTipRole:
        if (index.column() == FieldBytes && r.bytes.size() > kTipBytes)
            return QString::fromLatin1(r.bytes.left(kTipBytes).toHex(' '))
                + QCoreApplication::translate("TraceWindow", " … (%1 bytes)").arg(r.bytes.size());
        return shownField(r, index.column());
    case Qt::ForegroundRole:
        if (isTraceFailure(r.outcome))
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
    default: return {};
    }
}

QVariant TraceTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return shownName(traceFieldName(section));
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

    u.SelectTraceCommand->addItem(QCoreApplication::translate("TraceWindow", "ALL"), TraceTableModel::kAny);
    for (std::uint16_t code : kCommands)
        u.SelectTraceCommand->addItem(commandShown(code), code);
    u.SelectTraceCommand->addItem(QCoreApplication::translate("TraceWindow", "- (between exchanges)"), -1);
    u.SelectTraceOutcome->addItem(QCoreApplication::translate("TraceWindow", "ALL"), TraceTableModel::kAny);
    u.SelectTraceOutcome->addItem(QCoreApplication::translate("TraceWindow", "failures only"),
                                  TraceTableModel::kFailures);
    for (int o = 0; o < kTraceOutcomes; ++o)
        u.SelectTraceOutcome->addItem(shownName(outcomeName(static_cast<TraceOutcome>(o))), o);

    QTableView* table = u.TableTrace;
    table->setModel(&m_model);
    table->verticalHeader()->hide();
    // Fixed row heights (two lines) and column widths: nothing is measured
    // per record. The link in use stands above the counters, so its column
    // is hidden; VALUES takes the width the window has left, so the bytes
    // stay in view without scrolling sideways.
    const QFontMetrics fixedMetrics(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(
        2 * std::max(table->fontMetrics().lineSpacing(), fixedMetrics.lineSpacing()) + 6);
    const int digit = table->fontMetrics().horizontalAdvance(u'0');
    const int fixed = fixedMetrics.horizontalAdvance(u'0');
    const int widths[kTraceFields] = {10 * digit, 13 * digit, 12 * digit,
                                      22 * digit, 15 * digit, 5 * digit,
                                      16 * digit, 30 * digit, (3 * kBytesPerLine + 2) * fixed};
    for (int c = 0; c < kTraceFields; ++c)
        table->setColumnWidth(c, widths[c]);
    table->setColumnHidden(FieldLink, true);
    table->horizontalHeader()->setSectionResizeMode(FieldValues, QHeaderView::Stretch);

    // COPY, and Ctrl+C in the table: the selected records with the column names.
    auto* copy = new QShortcut(QKeySequence::Copy, table, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(copy, &QShortcut::activated, this, &TraceWindow::CBF_ButtonTraceCopy);
    connect(u.ButtonTraceCopy, &QAbstractButton::clicked, this, &TraceWindow::CBF_ButtonTraceCopy);

    // A trace file that stops (a full disk) says so here and in a box that
    // holds nothing up; queued, as the write fails deep inside an exchange.
    connect(&m_trace, &FrameTrace::fileError, this, &TraceWindow::showFileStopped, Qt::QueuedConnection);

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
    table.add(QStringLiteral("ButtonTrace"),
              QCoreApplication::translate("Help", " Open the trace of every frame to and from the sensor (Ctrl+T)."),
              info);
    table.add(QStringLiteral("SelectTraceCommand"),
              QCoreApplication::translate("Help", " Show only the records of one command."), info);
    table.add(QStringLiteral("SelectTraceOutcome"),
              QCoreApplication::translate("Help", " Show only the records with one outcome."), info);
    table.add(QStringLiteral("ButtonTracePause"),
              QCoreApplication::translate("Help", " Hold the table; the trace goes on recording."), info);
    table.add(QStringLiteral("ButtonTraceClear"),
              QCoreApplication::translate("Help", " Forget the records and counters so far."), info);
    table.add(QStringLiteral("ButtonTraceSave"),
              QCoreApplication::translate("Help", " Save the records shown to a text file, one record a line."), info);
    table.add(QStringLiteral("ButtonTraceCopy"),
              QCoreApplication::translate(
                  "Help", " Copy the selected records to the clipboard, with the column names (Ctrl+C)."),
              info);
    table.add(QStringLiteral("DispTraceFile"),
              QCoreApplication::translate(
                  "Help", " The file the whole run is written to: start the program with --trace FILE."),
              info);
}

void TraceWindow::Show()
{
    if (m_trace.fileOpen())
        m_ui->DispTraceFile->setText(QDir::toNativeSeparators(m_trace.fileName()));
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
    if (const QString link = m_trace.currentLinkShown(); u.DispTraceLink->text() != link)
        u.DispTraceLink->setText(link);
    const quint64 dropped = m_trace.droppedOldest();
    u.LabelTraceDropped->setVisible(dropped > 0);
    if (dropped > 0) {
        const QString text
            = QCoreApplication::translate(
                  "TraceWindow",
                  "The oldest %1 records were let go: the window keeps the last %2 records and at most %3 MB "
                  "of memory. To keep a whole run, start the program with --trace FILE.")
                  .arg(QLocale().toString(dropped), QLocale().toString(m_trace.capacity()))
                  .arg(m_trace.byteBudget() / (1024 * 1024));
        if (u.LabelTraceDropped->text() != text) {
            u.LabelTraceDropped->setText(text);
            u.LabelTraceDropped->setAccessibleDescription(text);  // a named label reads its name, not its text
        }
    }
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
    // The column names, then the records the table shows, one a line, as --trace writes them.
    QList<int> rows;
    for (int row = 0; row < m_model.rowCount(); ++row)
        rows << row;
    QString error;
    if (saveWholeFile(path, m_model.linesOf(rows).toUtf8(), &error))
        return;
    dialogs().message(QStringLiteral("ATTENTION!"),
                      QCoreApplication::translate("TraceWindow", " The trace could not be saved to \n %1 \n (%2).")
                          .arg(QDir::toNativeSeparators(path), error));
}

void TraceWindow::CBF_ButtonTraceCopy()
{
    QList<int> rows;
    for (const QModelIndex& index : m_ui->TableTrace->selectionModel()->selectedRows())
        rows << index.row();
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    QGuiApplication::clipboard()->setText(m_model.linesOf(rows));
}

void TraceWindow::showFileStopped(const QString& why)
{
    const QString path = QDir::toNativeSeparators(m_trace.fileName());
    m_ui->DispTraceFile->setText(QCoreApplication::translate("TraceWindow", "stopped (%1): %2").arg(why, path));
    dialogs().notice(
        QStringLiteral("ATTENTION!"),
        QCoreApplication::translate("TraceWindow",
                                    " The trace file \n %1 \n could not be written any further: %2. \n\n"
                                    " It ends with its last whole line. The TRACE window goes on recording.")
            .arg(path, why));
}

}  // namespace tarvo
