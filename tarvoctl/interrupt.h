// Ctrl+C and SIGTERM (on Windows: Ctrl+C, Ctrl+Break and closing the
// console) call a function on the main thread instead of ending the process,
// so that a command can leave the sensor as it found it. On POSIX a closed
// output pipe no longer ends the process either.
#pragma once

#include <functional>

namespace tarvo::ctl {

void onInterrupt(std::function<void()> handler);

} // namespace tarvo::ctl
