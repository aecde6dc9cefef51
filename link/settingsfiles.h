// The link's two files in the program directory: the connection settings
// "ComSettings.cfg" (four lines) and the server history "IPComboBox.cfg"
// (records of 100 zero-padded bytes plus a line end, newest first).
// Both hold 8-bit text, one byte per character, so that whatever a file
// holds reads and writes back unchanged and a record never splits a character.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace tarvo {

struct ConnectionSettings {
    std::uint16_t comprotocol = 0;
    std::uint16_t comport = 1;
    QString ipBuf;       // at most 255 characters
    QString portNumStr;  // at most 31 characters
    // A serial device given by its path for one run (--device), opened in
    // place of the device that port `comport` names. Never saved.
    QString comdevice;

    bool operator==(const ConnectionSettings&) const = default;
};

// The TCP port the interface panel offers first, for a server given without one.
inline constexpr auto kDefaultTcpPort = "10001";

constexpr int kHistoryRecordText = 100;
constexpr int kHistoryRecordBytes = kHistoryRecordText + 1;
constexpr int kHistoryMaxEntries = 10;

// The TCP port number of a port text as typed: a whole number 0 … 65535 by
// the one rule for numbers; any other text is port 0, which opens nothing.
int portNumberOf(const QString& text);

struct SettingsRead {
    enum Status { Ok, Missing, Failed };
    Status status = Missing;
    ConnectionSettings settings;  // for Ok
    QString error;                // for Failed: what went wrong, naming the file
};

// Only a file that does not exist is Missing. A file that cannot be read
// (after a second try), or whose first two lines are not whole numbers
// 0 … 65535, is Failed. Missing lines 3 and 4 read as empty.
SettingsRead readConnectionSettings(const QString& path);
// Written whole or not at all; on failure *error says why.
bool writeConnectionSettings(const QString& path, const ConnectionSettings& s, QString* error);

// The non-empty records, in file order, at most kHistoryMaxEntries. A file
// that exists but cannot be read gives none and the reason in *error.
QStringList readServerHistory(const QString& path, QString* error = nullptr);
bool writeServerHistory(const QString& path, const QStringList& entries, QString* error);

// "Reconnect.cfg", beside the connection settings: the switch "Reconnect
// and resume" (line 1, 0 or 1) and the seconds without data after which
// automatic reception checks the line (line 2). A missing or unreadable file
// gives the defaults: off, 10 s.
inline constexpr auto kReconnectFile = "Reconnect.cfg";
struct ReconnectSettings {
    bool enabled = false;
    int quietSeconds = 10;
    bool operator==(const ReconnectSettings&) const = default;
};
ReconnectSettings readReconnectSettings(const QString& path);
bool writeReconnectSettings(const QString& path, const ReconnectSettings& s, QString* error);

}  // namespace tarvo
