// TarvoV43: the scope program for the gloss sensor.
#include "programstart.h"
#include "scopeapp.h"
#include "settingslocation.h"
#include "traceoption.h"

int main(int argc, char* argv[])
{
    const tarvo::ProgramInfo info{tarvo::kScopeProgram,
                                  QStringLiteral("TARVO-Scope 4.3: the PC program for the gloss sensor."),
                                  tarvo::kScopeSettingsFiles, true, true};
    return tarvo::runProgram(argc, argv, info, [](const tarvo::CommandLine& commandLine) {
        tarvo::ScopeApp scope;
        scope.setConnectionForThisRun(commandLine.connection);
        scope.setReconnectForThisRun(commandLine.reconnect);
        if (const int rc = tarvo::openTraceFile(scope.link().trace(), commandLine.traceFile))
            return rc;
        return scope.run();
    });
}
