// The interface panel: choose RS-232 port or TCP server, try the connection,
// accept (save) or discard the choice. Shared by both programs; the tool's
// differences are options.
#pragma once

#include "link.h"
#include "settingsfiles.h"
#include "transferkind.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QSettings;
class QWidget;
namespace Ui {
class INTERFACEP;
}

namespace tarvo {

class RightClickHelp;

// How the panel behaves for a program; the tool uses fewer of its features.
struct InterfacePanelOptions {
    bool settingsFile = true;        // "ComSettings.cfg": read at start, written by Accept
    bool identification = true;      // EditID, shown in every DispID
    bool mainPortDisplays = true;    // DispComPort / DispIpAddress on the main panel
    bool connectStopsPoll = true;    // ButtonConnect ends the live loop
    bool tryUsesMainStatus = true;   // "TRY" also in DispStatus, events pumped so it shows
    bool tryDimsMainButtons = true;  // ButtonTryToConnect dims the main panel's transfer buttons
};
InterfacePanelOptions interfacePanelOptions(ProgramProfile profile);

// What the panel asks of the program.
class InterfacePanelHost {
public:
    virtual ~InterfacePanelHost() = default;
    virtual void showMainStatus(const QString& text) = 0;
    virtual void setTransferButtonsDimmed(bool dim) = 0;
    // DispComPort / DispIpAddress: values and which one is visible.
    virtual void showConnectionInUse(std::uint16_t comprotocol, std::uint16_t comport, const QString& ipBuf) = 0;
    // The channel was opened (or failed: a negative link.openResult()); run the line check.
    // True when the sensor identified itself.
    virtual bool afterOpening() = 0;
    // Seconds the line check waits for the identification on the channel in use.
    virtual double identificationLimit() const = 0;
    virtual void showIdentification(const QString& text) { (void)text; }
    virtual void processEvents() {}
    // Runs a reconnect as one transfer on the link (the exchange's guard).
    virtual void transfer(TransferKind kind, const std::function<void()>& work)
    {
        (void)kind;
        work();
    }
    // "Reconnect and resume" or the line-check time changed (also when read at start).
    virtual void reconnectSettingsChanged(const ReconnectSettings& settings) { (void)settings; }
    // STOP RETRYING.
    virtual void stopRetrying() {}
};

class InterfacePanel : public QObject {
    Q_OBJECT
public:
    // settingsDir: where ComSettings.cfg and IPComboBox.cfg live.
    InterfacePanel(Link& link, LoopFlags& flags, InterfacePanelHost& host, ProgramProfile profile,
                   const QString& settingsDir, QObject* parent = nullptr);
    ~InterfacePanel() override;

    QWidget* widget() const { return m_widget.get(); }
    Ui::INTERFACEP& ui() { return *m_ui; }

    QString conSettingsFileName;
    QString ipComboBoxFileName;
    QString reconnectFileName;

    // Discard returns to these.
    std::uint16_t comprotocolold = 0;
    std::uint16_t comportold = 1;
    QString ipBufOld;
    QString portNumStrOld;

    // Start-up: the server field becomes a combo box with its history.
    void SetupServerField();
    void GetConnectionSettingsFromFile();
    // Shows a connection given for this run only (the command line): RS-232
    // with its port or a device path, or TCP/IP with server and port. Nothing
    // is saved; a port number chosen on the panel replaces the device path.
    void UseForThisRun(const ConnectionSettings& settings);
    void InitConnectPanel();
    // "Reconnect.cfg" into the panel, and to the host. forThisRun: the switch
    // is on for this run whatever the file says (--reconnect); a change on the
    // panel is saved as ever.
    void GetReconnectSettingsFromFile(bool onForThisRun = false);
    // LANGUAGE shows and keeps the user's choice of language in the
    // program's session file; the choice applies at the next start.
    void UseLanguageSetting(QSettings* session);
    ReconnectSettings reconnectSettings() const;
    // The panel's STOP RETRYING can be pressed while a recovery runs.
    void SetRetrying(bool on);
    // A connection attempt with the values shown on the panel.
    void TryToConnect();
    // A connection attempt with the settings in use, whatever the panel shows.
    void Reconnect();
    // After a failure's "TIMEOUT": the reason follows it in the status
    // displays, the advice goes into the advice line.
    void ExplainFailure(const QString& reason, const QString& advice);
    bool SaveCommunicationSettings();

    // The values shown now become the ones Discard returns to.
    void RememberForDiscard();
    // Accept may be pressed only after a successful line check of the
    // settings the panel shows.
    void SetAcceptAllowed(bool allowed);
    // Dimming of the three buttons around transfers; Accept stays dimmed
    // while it is not allowed.
    void SetButtonsDimmed(bool dim);
    void Show();

    // Callbacks of the panel's controls.
    void CBF_ButtonConnect();
    void CBF_ButtonTryToConnect();
    void CBF_ButtonAccept();
    void CBF_ButtonDiscard();
    void CBF_EditCommunicationProtocol();
    void CBF_EditSelectComPort();
    void CBF_StringIpAdress();
    void CBF_StringPortNumber();
    void CBF_EditID();
    void CBF_INTERFACEP();
    void CBF_CheckReconnect();

    // Help texts of the panel's controls, for the right-click help.
    static void addHelpTexts(RightClickHelp& table);
    // The right-click help of the panel itself (its free area and labels):
    // where the program keeps the panel's files.
    static void addLocationHelp(RightClickHelp& table, const QString& text);

    QStringList historyEntries() const;

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    ConnectionSettings settingsShown() const;
    void connectTo(const ConnectionSettings& settings);
    void putValuesIntoControls(std::uint16_t protocol, std::uint16_t port, const QString& ip, const QString& portText);
    void updateComDevice();
    void elideComDevice();
    void showStatus(const QString& text);
    void showHint(const QString& text);
    void tryFromKeyboard();
    void updateHistory();

    Link& m_link;
    LoopFlags& m_flags;
    InterfacePanelHost& m_host;
    InterfacePanelOptions m_options;
    std::unique_ptr<QWidget> m_widget;
    std::unique_ptr<Ui::INTERFACEP> m_ui;
    bool m_acceptAllowed = false;
    bool m_dimmed = false;
    // Until the first attempt: neither a settings file nor the command line named a connection.
    bool m_firstStart = true;
    // The serial device given by its path for this run, shown in place of
    // the number's device until a number is chosen on the panel.
    QString m_deviceForThisRun;
    // The device label's whole text; the label shows each line cut in the
    // middle to its width, the tooltip the whole.
    QString m_comDeviceText;
};

}  // namespace tarvo
