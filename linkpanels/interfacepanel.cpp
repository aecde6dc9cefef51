#include "interfacepanel.h"

#include "language.h"

#include "combobox.h"
#include "connection.h"
#include "connectionfault.h"
#include "dialogs.h"
#include "panelutil.h"
#include "righthelp.h"
#include "serialports.h"
#include "settingsfiles.h"
#include "settingslocation.h"
#include "ui_INTERFACEP.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QSignalBlocker>
#include <utility>

namespace tarvo {

namespace {
const QString kAttention = QStringLiteral("ATTENTION!");
}

InterfacePanelOptions interfacePanelOptions(ProgramProfile profile)
{
    InterfacePanelOptions o;  // the scope uses every feature of the panel
    if (profile == ProgramProfile::ColourTool) {
        o.settingsFile = false;
        o.identification = false;
        o.mainPortDisplays = false;
        o.connectStopsPoll = false;
        o.tryUsesMainStatus = false;
        o.tryDimsMainButtons = false;
    }
    return o;
}

InterfacePanel::InterfacePanel(Connection& connection, InterfacePanelHost& host, ProgramProfile profile,
                               const QString& settingsDir, QObject* parent)
    : QObject(parent)
    , m_connection(connection)
    , m_link(connection.link())
    , m_host(host)
    , m_options(interfacePanelOptions(profile))
    , m_widget(std::make_unique<QWidget>())
    , m_ui(std::make_unique<Ui::INTERFACEP>())
{
    m_ui->setupUi(m_widget.get());
    conSettingsFileName = QDir(settingsDir).filePath(kConSettingsFile);
    ipComboBoxFileName = QDir(settingsDir).filePath(kIpComboBoxFile);
    reconnectFileName = QDir(settingsDir).filePath(QString::fromLatin1(kReconnectFile));

    setVisibleWithCaption(m_ui->EditID, m_options.identification);
    m_ui->ButtonAccept->setEnabled(false);
    m_widget->installEventFilter(this);
    m_ui->LabelComDevice->installEventFilter(this);

    // The whole wiring of the panel.
    connect(m_ui->ButtonTryToConnect, &QPushButton::clicked, this, &InterfacePanel::CBF_ButtonTryToConnect);
    connect(m_ui->ButtonAccept, &QPushButton::clicked, this, &InterfacePanel::CBF_ButtonAccept);
    connect(m_ui->ButtonDiscard, &QPushButton::clicked, this, &InterfacePanel::CBF_ButtonDiscard);
    connect(m_ui->EditCommunicationProtocol, &QComboBox::currentIndexChanged, this,
            &InterfacePanel::CBF_EditCommunicationProtocol);
    connect(m_ui->EditSelectComPort, &QSpinBox::valueChanged, this, &InterfacePanel::CBF_EditSelectComPort);
    connect(m_ui->StringPortNumber, &QLineEdit::textEdited, this, &InterfacePanel::CBF_StringPortNumber);
    connect(m_ui->StringIpAdress, &QLineEdit::textEdited, this, [this] { SetAcceptAllowed(false); });
    connect(m_ui->EditID, &QLineEdit::textEdited, this, &InterfacePanel::CBF_EditID);
    connect(m_ui->CheckReconnect, &QCheckBox::toggled, this, &InterfacePanel::CBF_CheckReconnect);
    connect(m_ui->EditQuietLimit, &QSpinBox::valueChanged, this, &InterfacePanel::CBF_CheckReconnect);
    connect(m_ui->ButtonStopRetrying, &QPushButton::clicked, this,
            [this] { m_connection.reconnector().stopRetrying(); });
    // Enter in the port number means TRY TO CONNECT (in the server field too,
    // once its history has taken the text: SetupServerField).
    connect(m_ui->StringPortNumber, &QLineEdit::returnPressed, this, &InterfacePanel::tryFromKeyboard);
    updateComDevice();
}

void InterfacePanel::GetReconnectSettingsFromFile(bool onForThisRun)
{
    ReconnectSettings settings = readReconnectSettings(reconnectFileName);
    if (onForThisRun)
        settings.enabled = true;
    {
        const QSignalBlocker b1(m_ui->CheckReconnect);
        const QSignalBlocker b2(m_ui->EditQuietLimit);
        m_ui->CheckReconnect->setChecked(settings.enabled);
        m_ui->EditQuietLimit->setValue(settings.quietSeconds);
    }
    m_connection.applyReconnectSettings(reconnectSettings());
}

ReconnectSettings InterfacePanel::reconnectSettings() const
{
    return {m_ui->CheckReconnect->isChecked(), m_ui->EditQuietLimit->value()};
}

void InterfacePanel::CBF_CheckReconnect()
{
    // Kept at once, per user, in a file of its own: ComSettings.cfg keeps its four lines.
    const ReconnectSettings settings = reconnectSettings();
    QString error;
    if (!writeReconnectSettings(reconnectFileName, settings, &error))
        dialogs().message(kAttention,
                          tr(" The reconnect setting could not be saved in \n %1 \n (%2).")
                              .arg(QDir::toNativeSeparators(reconnectFileName), error));
    m_connection.applyReconnectSettings(settings);
}

void InterfacePanel::SetRetrying(bool on)
{
    m_ui->ButtonStopRetrying->setEnabled(on);
}

InterfacePanel::~InterfacePanel()
{
    // The form goes before the widget; the widget's children must not reach
    // eventFilter() once the form's pointers are gone.
    m_widget->removeEventFilter(this);
    m_ui->LabelComDevice->removeEventFilter(this);
}

void InterfacePanel::SetupServerField()
{
    QLineEdit* field = m_ui->StringIpAdress;
    Combo_NewComboBox(field);
    Combo_SetComboAttribute(field, ComboFrameColour, 0xE0E0E0);
    if (auto* combo = Combo_Record(field))
        connect(combo, &ComboBox::committed, this, &InterfacePanel::CBF_StringIpAdress);
    connect(field, &QLineEdit::returnPressed, this, &InterfacePanel::tryFromKeyboard);
    QString error;
    for (const QString& entry : readServerHistory(ipComboBoxFileName, &error))
        Combo_InsertComboItem(field, -1, entry);
    if (!error.isEmpty())
        dialogs().message(kAttention,
                          tr(" The server history could not be read from \n %1 \n (%2).")
                              .arg(QDir::toNativeSeparators(ipComboBoxFileName), error));
}

void InterfacePanel::GetConnectionSettingsFromFile()
{
    if (!m_options.settingsFile)
        return;
    const SettingsRead read = readConnectionSettings(conSettingsFileName);
    if (read.status != SettingsRead::Ok) {
        // Missing or unusable: the panel as loaded, RS-232 port 1 by default.
        if (read.status == SettingsRead::Failed)
            dialogs().message(kAttention,
                              tr(" The connection settings were not read: \n %1 \n\n"
                                 " The program starts with RS-232 port 1.")
                                  .arg(read.error));
        return;
    }
    m_firstStart = false;
    const ConnectionSettings& settings = read.settings;
    putValuesIntoControls(settings.comprotocol, settings.comport, settings.ipBuf, settings.portNumStr);
}

void InterfacePanel::UseForThisRun(const ConnectionSettings& settings)
{
    m_firstStart = false;
    const bool serial = settings.comprotocol == RS232;
    m_deviceForThisRun = serial ? settings.comdevice : QString();
    // A device path keeps the number shown: that number is what Accept saves.
    const bool byNumber = serial && settings.comdevice.isEmpty();
    putValuesIntoControls(settings.comprotocol,
                          byNumber ? settings.comport : static_cast<std::uint16_t>(m_ui->EditSelectComPort->value()),
                          serial ? m_ui->StringIpAdress->text() : settings.ipBuf,
                          serial ? m_ui->StringPortNumber->text() : settings.portNumStr);
}

void InterfacePanel::putValuesIntoControls(std::uint16_t protocol, std::uint16_t port, const QString& ip,
                                           const QString& portText)
{
    // Like setting control values: no callbacks run.
    const QSignalBlocker b1(m_ui->EditCommunicationProtocol);
    const QSignalBlocker b2(m_ui->EditSelectComPort);
    const QSignalBlocker b3(m_ui->StringIpAdress);
    const QSignalBlocker b4(m_ui->StringPortNumber);
    if (protocol < m_ui->EditCommunicationProtocol->count())
        m_ui->EditCommunicationProtocol->setCurrentIndex(protocol);
    m_ui->EditSelectComPort->setValue(port);
    m_ui->StringIpAdress->setText(ip.left(m_ui->StringIpAdress->maxLength()));
    m_ui->StringPortNumber->setText(portText.left(m_ui->StringPortNumber->maxLength()));
    updateComDevice();
}

void InterfacePanel::InitConnectPanel()
{
    // Only the fields follow the ring: the channel in use changes with a
    // connection attempt alone.
    const int protocol = m_ui->EditCommunicationProtocol->currentIndex();
    if (protocol != RS232 && protocol != TCPIP)
        return;
    const bool serial = protocol == RS232;
    setVisibleWithCaption(m_ui->EditSelectComPort, serial);
    m_ui->LabelComDevice->setVisible(serial);
    Combo_SetComboAttribute(m_ui->StringIpAdress, ComboVisible, !serial);
    setVisibleWithCaption(m_ui->StringIpAdress, !serial);
    setVisibleWithCaption(m_ui->StringPortNumber, !serial);
}

ConnectionSettings InterfacePanel::settingsShown() const
{
    const auto protocol = static_cast<std::uint16_t>(m_ui->EditCommunicationProtocol->currentIndex());
    return {protocol, static_cast<std::uint16_t>(m_ui->EditSelectComPort->value()), m_ui->StringIpAdress->text(),
            m_ui->StringPortNumber->text(), protocol == RS232 ? m_deviceForThisRun : QString()};
}

void InterfacePanel::TryToConnect()
{
    connectTo(settingsShown());
}

void InterfacePanel::Reconnect()
{
    connectTo(m_link.connectionInUse());
}

void InterfacePanel::connectTo(const ConnectionSettings& settings)
{
    showHint(QString());
    if (m_options.tryUsesMainStatus)
        emit mainStatus(tr("TRY"));
    m_ui->DispInterfaceStatus->setText(tr("TRY"));
    if (m_options.tryUsesMainStatus)
        m_connection.pump().processEvents();

    if (m_options.mainPortDisplays)
        emit connectionInUse(settings.comprotocol, settings.comport, settings.ipBuf);
    m_link.Connect(settings);
    if (m_link.isSerial())
        updateComDevice();
    const bool firstStart = std::exchange(m_firstStart, false);
    if (m_host.afterOpening())
        return;
    ConnectionFault fault = connectionFault(m_link, m_connection.exchange().lineCheckLimit());
    // A first start tried port 1 on no one's word: say so, unless the port
    // was refused or is held, whose remedy is the one to read now.
    if (firstStart && m_link.isSerial() && !m_link.serialPermissionDenied() && !m_link.serialInUse())
        fault.advice = firstStartAdvice(m_link.serialPort());
    ExplainFailure(fault.reason, fault.advice);
}

void InterfacePanel::ExplainFailure(const QString& reason, const QString& advice)
{
    // Both programs show "TIMEOUT" in the main status; the interface status
    // holds the program's own word ("TIMEOUT", "CONNECTION FAILURE").
    emit mainStatus(withReason(tr("TIMEOUT"), reason));
    m_ui->DispInterfaceStatus->setText(withReason(m_ui->DispInterfaceStatus->text(), reason));
    showHint(advice);
}

bool InterfacePanel::SaveCommunicationSettings()
{
    if (!m_options.settingsFile)
        return true;
    // Accept is possible only after a line check with no edit since: the
    // settings in use are the ones shown, and the ones shown to reach the sensor.
    QString error;
    if (writeConnectionSettings(conSettingsFileName, m_link.connectionInUse(), &error))
        return true;
    dialogs().message(kAttention,
                      tr(" The connection settings could not be saved to \n %1 \n (%2). \n\n"
                         " The connection in use stays open, but the next start will not use it.")
                          .arg(QDir::toNativeSeparators(conSettingsFileName), error));
    return false;
}

void InterfacePanel::RememberForDiscard()
{
    comprotocolold = static_cast<std::uint16_t>(m_ui->EditCommunicationProtocol->currentIndex());
    comportold = static_cast<std::uint16_t>(m_ui->EditSelectComPort->value());
    ipBufOld = m_ui->StringIpAdress->text();
    portNumStrOld = m_ui->StringPortNumber->text();
}

void InterfacePanel::SetAcceptAllowed(bool allowed)
{
    // Only what the panel shows can be accepted: after a reconnection with
    // the settings in use, untried values on the panel stay unaccepted.
    m_acceptAllowed = allowed && settingsShown() == m_link.connectionInUse();
    m_ui->ButtonAccept->setEnabled(m_acceptAllowed && !m_dimmed);
}

void InterfacePanel::SetButtonsDimmed(bool dim)
{
    m_dimmed = dim;
    m_ui->ButtonTryToConnect->setEnabled(!dim);
    m_ui->ButtonDiscard->setEnabled(!dim);
    m_ui->ButtonAccept->setEnabled(m_acceptAllowed && !dim);
}

void InterfacePanel::Show()
{
    updateComDevice();
    m_widget->show();
    m_widget->raise();
    m_widget->activateWindow();
}

void InterfacePanel::CBF_ButtonConnect()
{
    if (m_options.connectStopsPoll)
        m_connection.flags().poll = 0;
    RememberForDiscard();
    SetAcceptAllowed(false);
    Show();
}

void InterfacePanel::CBF_ButtonTryToConnect()
{
    m_connection.transfer(TransferKind::Connect, [this] {
        m_ui->ButtonTryToConnect->setEnabled(false);
        if (m_options.tryDimsMainButtons)
            emit transferButtonsDimmed(true);
        TryToConnect();
        if (m_options.tryDimsMainButtons)
            emit transferButtonsDimmed(false);
        m_ui->ButtonTryToConnect->setEnabled(!m_dimmed);
    });
}

void InterfacePanel::tryFromKeyboard()
{
    if (m_ui->ButtonTryToConnect->isEnabled())
        m_ui->ButtonTryToConnect->click();
}

void InterfacePanel::CBF_ButtonAccept()
{
    if (SaveCommunicationSettings())
        m_widget->hide();
}

void InterfacePanel::CBF_ButtonDiscard()
{
    putValuesIntoControls(comprotocolold, comportold, ipBufOld, portNumStrOld);
    InitConnectPanel();
    m_connection.transfer(TransferKind::Connect, [this] {
        TryToConnect();
        m_widget->hide();
    });
}

void InterfacePanel::CBF_EditCommunicationProtocol()
{
    InitConnectPanel();
    SetAcceptAllowed(false);
}

void InterfacePanel::CBF_EditSelectComPort()
{
    SetAcceptAllowed(false);
    m_deviceForThisRun.clear();  // a number chosen by hand opens its own device
    updateComDevice();
}

void InterfacePanel::CBF_StringIpAdress()
{
    // The server in use stays until a connection attempt takes this one.
    SetAcceptAllowed(false);
    updateHistory();
}

void InterfacePanel::CBF_StringPortNumber()
{
    SetAcceptAllowed(false);
}

void InterfacePanel::CBF_EditID()
{
    emit identificationEdited(m_ui->EditID->text().left(99));
}

void InterfacePanel::CBF_INTERFACEP()
{
    m_widget->hide();
}

bool InterfacePanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->LabelComDevice && event->type() == QEvent::Resize)
        elideComDevice();
    if (watched == m_widget.get() && event->type() == QEvent::Close) {
        // Closing keeps whatever connection is open and saves nothing.
        CBF_INTERFACEP();
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void InterfacePanel::updateHistory()
{
    QLineEdit* field = m_ui->StringIpAdress;
    const QString text = field->text();
    if (text.trimmed().isEmpty())
        return;  // an empty server is no history entry
    int index = -1;
    Combo_GetIndexFromValue(field, &index, text);
    if (index >= 0)
        Combo_DeleteComboItem(field, index, 1);
    Combo_InsertComboItem(field, 0, text);
    if (historyEntries().size() > kHistoryMaxEntries)
        Combo_DeleteComboItem(field, kHistoryMaxEntries, -1);

    QString error;
    if (!writeServerHistory(ipComboBoxFileName, historyEntries(), &error))
        dialogs().message(kAttention,
                          tr(" The server history could not be saved to \n %1 \n (%2).")
                              .arg(QDir::toNativeSeparators(ipComboBoxFileName), error));
}

QStringList InterfacePanel::historyEntries() const
{
    QStringList entries;
    if (const QComboBox* list = Combo_ListControl(m_ui->StringIpAdress))
        for (int i = 0; i < list->count(); ++i)
            entries << list->itemText(i);
    return entries;
}

void InterfacePanel::updateComDevice()
{
    const SerialDevice device = m_deviceForThisRun.isEmpty()
        ? resolveSerialPort(m_ui->EditSelectComPort->value())
        : SerialDevice{.path = m_deviceForThisRun, .description = tr("--device, for this run")};
    QString text;
    if (device.path.isEmpty())
        text = tr("no such port on this computer");
    else if (device.description.isEmpty())
        text = device.path;
    else
        text = QStringLiteral("%1\n(%2)").arg(device.path, device.description);  // two lines: fits any scaling
    m_comDeviceText = text;
    m_ui->LabelComDevice->setToolTip(text);
    m_ui->LabelComDevice->setAccessibleDescription(text);  // a named label reads its name, not its text
    elideComDevice();
}

void InterfacePanel::elideComDevice()
{
    // A device path has no spaces to wrap at (/dev/serial/by-id/usb-…):
    // each line loses its middle, and keeps its start and its distinct end.
    QLabel* label = m_ui->LabelComDevice;
    const int width = label->contentsRect().width();
    QStringList lines = m_comDeviceText.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = label->fontMetrics().elidedText(line, Qt::ElideMiddle, width);
    label->setText(lines.join(QLatin1Char('\n')));
}

void InterfacePanel::showHint(const QString& text)
{
    m_ui->LabelInterfaceHint->setText(text);
    m_ui->LabelInterfaceHint->setAccessibleDescription(text);  // a named label reads its name, not its text
    m_ui->LabelInterfaceHint->setVisible(!text.isEmpty());
}

void InterfacePanel::UseLanguageSetting(QSettings* session)
{
    // Items: the system's, English, German.
    const auto chosen = parseLanguage(session->value(kLanguageKey).toString());
    m_ui->EditLanguage->setCurrentIndex(!chosen ? 0 : *chosen == Language::English ? 1 : 2);
    connect(m_ui->EditLanguage, &QComboBox::activated, this, [session](int index) {
        if (index == 0)
            session->remove(kLanguageKey);
        else
            session->setValue(kLanguageKey, languageCode(index == 1 ? Language::English : Language::German));
        session->sync();
        if (session->status() != QSettings::NoError)
            dialogs().message(QStringLiteral("ATTENTION!"),
                              tr(" The choice of language could not be saved in \n %1.")
                                  .arg(QDir::toNativeSeparators(session->fileName())));
        else
            dialogs().message(QStringLiteral("INFO!"), tr(" The language changes at the next start of the program."));
    });
}

void InterfacePanel::addHelpTexts(RightClickHelp& table)
{
    const QString info = QStringLiteral("INFO!");
    table.add(QStringLiteral("ButtonConnect"),
              QCoreApplication::translate("Help", " Open a panel to select an interface protocol."), info);
    table.add(QStringLiteral("ButtonTryToConnect"), QCoreApplication::translate("Help", " Try to connect sensor."),
              info);
    table.add(QStringLiteral("ButtonAccept"),
              QCoreApplication::translate("Help", " Accept settings and return to main panel."), info);
    table.add(QStringLiteral("ButtonDiscard"),
              QCoreApplication::translate("Help", " Return to main panel with old settings."), info);
    table.add(QStringLiteral("EditCommunicationProtocol"),
              QCoreApplication::translate("Help", " Select RS232 or TCP/IP Interface. "), info);
    table.add(QStringLiteral("EditSelectComPort"), QCoreApplication::translate("Help", " Select a serial COM-PORT."),
              info);
    table.add(QStringLiteral("StringIpAdress"),
              QCoreApplication::translate("Help", " Select a Server by name or IP address."), info);
    table.add(QStringLiteral("StringPortNumber"), QCoreApplication::translate("Help", " Select a port number."), info);
    table.add(
        QStringLiteral("EditID"),
        QCoreApplication::translate(
            "Help", " Insert sensor identification. \n This ID will be displayed in some panels of the software."),
        info);
}

void InterfacePanel::addLocationHelp(RightClickHelp& table, const QString& text)
{
    table.add(QStringLiteral("INTERFACEP"), text, QStringLiteral("INFO!"));
}

}  // namespace tarvo
