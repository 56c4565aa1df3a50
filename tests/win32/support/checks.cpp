#include "tests/win32/support/checks.h"

#include "win32/support/winapi.h"

#include <cstdio>

namespace checks {

namespace {

int g_passed = 0;
int g_failed = 0;
std::wstring g_context;

std::string utf8(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                            length, nullptr, nullptr);
    return out;
}

} // namespace

void setContext(std::wstring context)
{
    g_context = std::move(context);
}

const std::wstring &context()
{
    return g_context;
}

bool record(bool passed, const char *expression, const char *file, int line,
            const std::wstring &detail)
{
    if (passed) {
        ++g_passed;
        return true;
    }
    ++g_failed;
    std::wstring message = L"FAIL [" + g_context + L"] " + widen(std::string_view(file)) + L":" +
                           std::to_wstring(line) + L": " + widen(std::string_view(expression));
    if (!detail.empty())
        message += L": " + detail;
    printLine(message);
    return false;
}

int passed()
{
    return g_passed;
}

int failed()
{
    return g_failed;
}

int summary()
{
    printLine(std::to_wstring(g_passed) + L" passed, " + std::to_wstring(g_failed) + L" failed");
    return g_failed == 0 ? 0 : 1;
}

void print(std::wstring_view text)
{
    const std::string bytes = utf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

void printLine(std::wstring_view text)
{
    print(std::wstring(text) + L"\n");
}

std::wstring quoted(std::wstring_view text)
{
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        if (c == L'\r')
            out += L"\\r";
        else if (c == L'\n')
            out += L"\\n";
        else if (c == L'"' || c == L'\\')
            out += std::wstring(L"\\") + c;
        else
            out += c;
    }
    return out + L"\"";
}

std::wstring widen(std::string_view ascii)
{
    return {ascii.begin(), ascii.end()};
}

std::wstring widen(std::u16string_view text)
{
    return {text.begin(), text.end()};
}

} // namespace checks
