#include "tests/win32/support/testmain.h"

#include "tests/win32/support/checks.h"

#include <chrono>

int runCases(int argc, wchar_t **argv, const std::vector<TestCase> &cases)
{
    // The program is DPI aware; the test sees the same pixels only if it is
    // too.
    SetProcessDPIAware();
    if (argc < 2) {
        checks::printLine(L"usage: <test> <galevane.exe> [--group NAME]... [--case TEXT]");
        return 2;
    }
    const std::wstring executable = argv[1];
    std::vector<std::wstring> groups;
    std::wstring only;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::wstring option = argv[i];
        if (option == L"--group")
            groups.emplace_back(argv[i + 1]);
        else if (option == L"--case")
            only = argv[i + 1];
        else {
            checks::printLine(L"unknown option " + option);
            return 2;
        }
    }
    checks::printLine(L"screen " + std::to_wstring(GetSystemMetrics(SM_CXSCREEN)) + L"x" +
                      std::to_wstring(GetSystemMetrics(SM_CYSCREEN)) + L" at " +
                      std::to_wstring(screenDpi()) + L" dpi");
    using Clock = std::chrono::steady_clock;
    const auto begin = Clock::now();
    int ran = 0;
    for (const TestCase &test : cases) {
        const std::wstring name = std::wstring(test.group) + L"/" + test.name;
        bool wanted = groups.empty();
        for (const std::wstring &group : groups)
            wanted = wanted || group == test.group;
        if (!wanted || (!only.empty() && name.find(only) == std::wstring::npos))
            continue;
        ++ran;
        const int failedBefore = checks::failed();
        const auto start = Clock::now();
        checks::setContext(name);
        std::wstring variable;
        if (test.environment) {
            const std::wstring setting = test.environment;
            const auto equals = setting.find(L'=');
            variable = setting.substr(0, equals);
            SetEnvironmentVariableW(variable.c_str(), setting.substr(equals + 1).c_str());
        }
        {
            GalevaneApp app(executable);
            if (CHECK_MSG(app.started(), L"the main window did not show"))
                test.run(app);
        }
        if (!variable.empty())
            SetEnvironmentVariableW(variable.c_str(), nullptr);
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        checks::printLine((checks::failed() == failedBefore ? L"ok   " : L"FAIL ") + name + L" (" +
                          std::to_wstring(ms) + L" ms)");
    }
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - begin).count();
    checks::printLine(std::to_wstring(ran) + L" cases in " + std::to_wstring(seconds) + L" s");
    if (ran == 0)
        CHECK_MSG(false, L"no case matched the options");
    return checks::summary();
}
