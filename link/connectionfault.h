// Why a connection attempt failed, in plain words: the short reason that
// follows "TIMEOUT" in the status displays (and suits a command-line
// message), and the advice line of the interface panel.
#pragma once

#include <QString>

namespace tarvo {

class Link;

struct ConnectionFault {
    QString reason;  // "connection refused by 127.0.0.1:1", "host not found" …
    QString advice;  // what it means and what to do, one or two sentences
};

// The opening of the link's channel failed (link.ret < 0).
ConnectionFault openingFault(const Link& link);
// The channel opened, but no identification came within limitSeconds.
ConnectionFault identificationFault(const Link& link, double limitSeconds);
// Whichever of the two the last attempt met.
ConnectionFault connectionFault(const Link& link, double identificationLimitSeconds);

// The advice after a first start that found no saved connection.
QString firstStartAdvice(int comport);

// "TIMEOUT: reason": a status text with the reason after it.
QString withReason(const QString& status, const QString& reason);

// The server as a person names it: "HOST:PORT", "[v6 address]:PORT".
QString serverName(const QString& host, int port);

} // namespace tarvo
