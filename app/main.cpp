#include "core/forms/windowregistry.h"
#include "core/windows/frmwindscale.h"
#include "qt/startup/startup.h"

int main(int argc, char *argv[])
{
    return runProgram(argc, argv, []() -> Form & { return defaultInstance<frmWindScale>(); });
}
