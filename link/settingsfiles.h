// The link's two files in the program directory: the connection settings
// "ComSettings.cfg" (four lines) and the server history "IPComboBox.cfg"
// (records of 100 zero-padded bytes plus a line end, newest first).
// Both hold 8-bit text, one byte per character, so that whatever a file
// holds reads and writes back unchanged and a record never splits a character.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace tarvo {

struct ConnectionSettings {
    std::uint16_t comprotocol = 0;
    std::uint16_t comport = 1;
    QString ipBuf;       // at most 255 characters
    QString portNumStr;  // at most 31 characters
};

constexpr int kHistoryRecordText = 100;
constexpr int kHistoryRecordBytes = kHistoryRecordText + 1;
constexpr int kHistoryMaxEntries = 10;

// Like C's atoi: leading blanks, an optional sign, then digits; no digits
// gives 0. Saturates instead of overflowing.
int atoiLike(const QByteArray& text);

// nullopt when the file does not exist. Missing lines read as empty.
std::optional<ConnectionSettings> readConnectionSettings(const QString& path);
// Written whole or not at all; on failure *error says why.
bool writeConnectionSettings(const QString& path, const ConnectionSettings& s, QString* error);

// The non-empty records, in file order, at most kHistoryMaxEntries.
QStringList readServerHistory(const QString& path);
bool writeServerHistory(const QString& path, const QStringList& entries, QString* error);

} // namespace tarvo
