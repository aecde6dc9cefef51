// Status texts for failed openings of the two channels.
#pragma once

#include <QString>

namespace tarvo {

QString rs232StatusText(int code);
QString tcpStatusText(int code);

} // namespace tarvo
