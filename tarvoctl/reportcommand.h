// tarvoctl report: the figures and the PDF report of a record file.
#pragma once

#include "commands.h"

#include <QCoreApplication>
#include <memory>

namespace tarvo::ctl {

int reportRecording(const Invocation& in, Session& s);

// The application object: a GUI one (for the fonts of a PDF) when the
// command line asks for a report, which shows no window and so needs no
// display; a plain one otherwise.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv);

}  // namespace tarvo::ctl
