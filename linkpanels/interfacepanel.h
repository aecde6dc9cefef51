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

class Connection;
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

// What the panel needs answered by the program: the line check after an
// opening. What it only tells the program comes as the panel's signals.
class InterfacePanelHost {
public:
    virtual ~InterfacePanelHost() = default;
    // The channel was opened (or failed: a negative openResult() of the link); run the line check.
    // True when the sensor identified itself.
    virtual bool afterOpening() = 0;
};

class InterfacePanel : public QObject {
    Q_OBJECT
public:
    // settingsDir: where ComSettings.cfg and IPComboBox.cfg live.
    InterfacePanel(Connection& connection, InterfacePanelHost& host, ProgramProfile profile, const QString& settingsDir,
                   QObject* parent = nullptr);
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

signals:
    // The main panel's status display.
    void mainStatus(const QString& text);
    // The main panel's transfer buttons dimmed around a connection attempt, or again usable.
    void transferButtonsDimmed(bool dim);
    // DispComPort / DispIpAddress on the main panel: values and which one is visible.
    void connectionInUse(std::uint16_t comprotocol, std::uint16_t comport, const QString& ipBuf);
    // The identification the user gave the sensor (EditID), for every DispID.
    void identificationEdited(const QString& text);

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

    Connection& m_connection;
    Link& m_link;
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
