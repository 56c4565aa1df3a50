#include "shell/windowregistry.h"
#include "startup/startup.h"
#include "ui/main/frmwindscale.h"

int main(int argc, char *argv[])
{
    return runProgram(argc, argv, []() -> Form & { return defaultInstance<frmWindScale>(); });
}
