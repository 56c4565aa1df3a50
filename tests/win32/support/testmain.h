#pragma once

#include "tests/win32/support/galevaneapp.h"

#include <string>
#include <vector>

// The case table of a Windows test program and its command line:
//   <test> <galevane.exe> [--group NAME]... [--case TEXT]
// runs every case, or those of the groups named, or those whose name holds
// TEXT; each case gets a freshly started program.
struct TestCase
{
    const wchar_t *group;
    const wchar_t *name;
    void (*run)(GalevaneApp &app);
    // NAME=VALUE in the program's environment for this case, if any.
    const wchar_t *environment = nullptr;
};

int runCases(int argc, wchar_t **argv, const std::vector<TestCase> &cases);
