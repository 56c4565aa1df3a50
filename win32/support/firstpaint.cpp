#include "win32/support/firstpaint.h"

#include <cstdint>
#include <cstdio>

namespace {

LARGE_INTEGER entry{};

std::uint64_t asInteger(FILETIME time)
{
    return static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

// The system time to the 100 ns the process creation time is kept in; the
// precise clock exists from Windows 8 on, before that the tick-sized one.
std::uint64_t systemTimeNow()
{
    using PreciseTime = void(WINAPI *)(FILETIME *);
    static const auto precise = reinterpret_cast<PreciseTime>(reinterpret_cast<void *>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
    FILETIME now;
    if (precise != nullptr)
        precise(&now);
    else
        GetSystemTimeAsFileTime(&now);
    return asInteger(now);
}

} // namespace

void FirstPaint::markEntry()
{
    QueryPerformanceCounter(&entry);
}

bool FirstPaint::report(const wchar_t *path)
{
    const std::uint64_t now = systemTimeNow();
    LARGE_INTEGER counter;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    FILETIME creation;
    FILETIME exit;
    FILETIME kernel;
    FILETIME user;
    GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);

    const auto sinceCreationUs = static_cast<long long>((now - asInteger(creation)) / 10);
    const auto sinceEntryUs =
        static_cast<long long>((counter.QuadPart - entry.QuadPart) * 1000000 / frequency.QuadPart);
    FILE *out = stdout;
    if (path != nullptr && _wfopen_s(&out, path, L"w") != 0)
        return false;
    std::fprintf(out, "first-paint-since-creation-us %lld\nfirst-paint-since-entry-us %lld\n",
                 sinceCreationUs, sinceEntryUs);
    if (out != stdout)
        std::fclose(out);
    else
        std::fflush(out);
    return true;
}
