// Why a connection attempt or a reply failed, in plain words. The short
// reasons serve tarvoctl's messages and the programs' status displays, where
// they follow "TIMEOUT"; the advice is the interface panel's advice line.
#pragma once

#include "statustexts.h"

#include <QString>

namespace tarvo {

class Link;

// Why the opening of the link's channel failed (link.openResult() < 0), in a few
// words that do not name the channel: "connection refused", "host not
// found", "no answer within 5 s", "port in use by another program" …
// English for files and tarvoctl; Wording::Shown for the screen.
QString openingFaultReason(const Link& link, Wording wording = Wording::English);
// What was wrong with the bytes of the last reply, limitSeconds being its
// time limit: "no reply within 3.0 s", "only 20 of 36 bytes came back
// within 3.0 s", "37 bytes came back instead of 36"; empty when the reply was
// complete.
QString replyShortfall(const Link& link, double limitSeconds, Wording wording = Wording::English);

struct ConnectionFault {
    QString reason;  // "connection refused by 127.0.0.1:1", "host not found" …
    QString advice;  // what it means and what to do, one or two sentences
};

// The opening failed, or it succeeded but no identification came within
// identificationLimitSeconds: the reason and the advice for the programs'
// screens, in the user's language.
ConnectionFault connectionFault(const Link& link, double identificationLimitSeconds);

// The advice after a first start that found no saved connection.
QString firstStartAdvice(int comport);

// "TIMEOUT: reason": a status text with the reason after it.
QString withReason(const QString& status, const QString& reason);

}  // namespace tarvo
