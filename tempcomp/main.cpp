// TarvoTempCompV43: the temperature-compensation tool for the colour sensor.
#include "tempcompapp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TarvoTempCompV43"));
    QApplication::setQuitOnLastWindowClosed(false);
    tarvo::tempcomp::TempCompApp tool;
    return tool.run();
}
