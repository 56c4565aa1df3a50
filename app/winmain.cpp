#include "core/forms/windowregistry.h"
#include "core/windows/frmwindscale.h"
#include "win32/frontend/win32frontend.h"
#include "win32/support/firstpaint.h"

#include <exception>
#include <string>

namespace {

// What went wrong, in a message box of the program's name.
void reportFailure(const char *what)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, what, -1, nullptr, 0);
    std::wstring text(length > 0 ? static_cast<std::size_t>(length) : 1, L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, what, -1, text.data(), length);
    MessageBoxW(nullptr, text.c_str(), L"Galevane", MB_OK | MB_ICONERROR);
}

int runProgram(HINSTANCE instance)
{
    Win32FrontEnd frontEnd(instance);
    WindowRegistry registry(frontEnd);
    int status = 0;
    try {
        defaultInstance<frmWindScale>().Show();
        status = frontEnd.run();
    } catch (...) {
        frontEnd.detachAll();
        throw;
    }
    // The windows go with the registry, reporting nothing to their forms.
    frontEnd.detachAll();
    return status;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    FirstPaint::markEntry();
    try {
        return runProgram(instance);
    } catch (const std::exception &failure) {
        reportFailure(failure.what());
    } catch (...) {
        reportFailure("an unknown failure");
    }
    return 1;
}
