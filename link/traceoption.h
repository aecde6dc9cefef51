// "--trace FILE" on a program's command line: the frame trace is written to
// FILE for the whole run, one record a line, flushed per line.
#pragma once

#include <QString>

namespace tarvo {

class FrameTrace;

// Opens the trace file (nothing for an empty path), replaced or, with
// `append`, continued. Returns 0, or the exit code 2 after saying on stderr
// why the file cannot be written.
int openTraceFile(FrameTrace& trace, const QString& path, bool append = false);

}  // namespace tarvo
