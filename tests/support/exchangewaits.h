// A wait of the program's exchange that a test ends itself (header only:
// the tests that include it link the exchange).
#pragma once

#include "eventpump.h"
#include "exchange.h"

#include <QObject>
#include <QTimer>

namespace tarvo::test {

// Ends the innermost wait, as its time limit would, once the exchange has
// passed a frame over (not taken it for the reply it waits for): a row about
// a refused reply sees the frame not end the wait, without sitting out the
// real limit. The look lives with `context`.
inline void expireOncePassedOver(QObject* context, EventPump& pump, const Exchange& exchange)
{
    auto* look = new QTimer(context);
    QObject::connect(look, &QTimer::timeout, context, [look, &pump, &exchange, strays = exchange.strays()] {
        if (exchange.strays() == strays)
            return;
        look->stop();
        look->deleteLater();
        pump.expireInnermostWait();
    });
    look->start(5);
}

}  // namespace tarvo::test
