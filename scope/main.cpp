// TarvoV43: the scope program for the gloss sensor.
#include "scopeapp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TarvoV43"));
    QApplication::setQuitOnLastWindowClosed(false);
    tarvo::ScopeApp scope;
    return scope.run();
}
