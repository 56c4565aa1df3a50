// Prints the description the application object gives itself, one
// "key=value" line each, for check_identity.py to compare with the version
// and the id the build was configured with.

#include "qt/startup/application.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    const GalevaneApplication app(argc, argv);
    std::printf("name=%s\n", qUtf8Printable(QCoreApplication::applicationName()));
    std::printf("version=%s\n", qUtf8Printable(QCoreApplication::applicationVersion()));
    std::printf("desktop-file=%s\n", qUtf8Printable(QGuiApplication::desktopFileName()));
    return 0;
}
