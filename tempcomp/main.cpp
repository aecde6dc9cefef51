// TarvoTempCompV43: the temperature-compensation tool for the colour sensor.
#include "programstart.h"
#include "settingslocation.h"
#include "tempcompapp.h"
#include "traceoption.h"

int main(int argc, char* argv[])
{
    const tarvo::ProgramInfo info{
        tarvo::kToolProgram,
        QStringLiteral("TARVO-TEMPCOMP-Scope V4.3: temperature compensation for the RGB colour sensor."),
        tarvo::kToolSettingsFiles, true};
    return tarvo::runProgram(argc, argv, info, [](const tarvo::CommandLine& commandLine) {
        tarvo::tempcomp::TempCompApp tool;
        tool.setConnectionForThisRun(commandLine.connection);
        if (const int rc = tarvo::openTraceFile(tool.link().trace(), commandLine.traceFile))
            return rc;
        return tool.run();
    });
}
