// TarvoTempCompV43: the temperature-compensation tool for the colour sensor.
#include "programstart.h"
#include "settingslocation.h"
#include "tempcompapp.h"

int main(int argc, char* argv[])
{
    const tarvo::ProgramInfo info{
        tarvo::kToolProgram,
        QStringLiteral("TARVO-TEMPCOMP-Scope V4.3: temperature compensation for the RGB colour sensor."),
        tarvo::kToolSettingsFiles, false};
    return tarvo::runProgram(argc, argv, info, [](const tarvo::CommandLine&) {
        tarvo::tempcomp::TempCompApp tool;
        return tool.run();
    });
}
