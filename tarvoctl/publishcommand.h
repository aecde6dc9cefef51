// tarvoctl publish: every value set of the sensor to the plant's MQTT broker.
#pragma once

#include "commands.h"

#include <QCommandLineOption>
#include <QList>

namespace tarvo::ctl {

// The options only publish takes, for the command line's parser.
QList<QCommandLineOption> publishOptions();

int publishValues(const Invocation& in, Session& s);

}  // namespace tarvo::ctl
