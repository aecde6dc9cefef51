// Status texts for failed openings of the two channels.
#pragma once

#include <QString>

namespace tarvo {

QString rs232StatusText(int code);
QString tcpStatusText(int code);
// Why a write of n bytes to the sensor returned `result`, in plain words.
QString writeFailureText(bool serial, long long result);

}  // namespace tarvo
