#pragma once

#include <string>
#include <string_view>
#include <type_traits>

// The Windows tests' own checks: each failed check prints where it is, what
// it checked and its context; the run ends with "N passed, N failed", which
// CTest's pass and fail expressions can read.

namespace checks {

// What the checks that follow are about (the case and its step); printed
// with each failure.
void setContext(std::wstring context);
[[nodiscard]] const std::wstring &context();

// Records one check; false if it failed.
bool record(bool passed, const char *expression, const char *file, int line,
            const std::wstring &detail = {});

[[nodiscard]] int passed();
[[nodiscard]] int failed();
// Prints the summary line; the process's exit status (0 only if nothing failed).
int summary();

// UTF-16 text on standard output, as UTF-8, flushed at once so that a test
// that hangs has said how far it got.
void print(std::wstring_view text);
void printLine(std::wstring_view text);

// Quoted for a message, control characters escaped.
[[nodiscard]] std::wstring quoted(std::wstring_view text);
[[nodiscard]] std::wstring widen(std::string_view ascii);
[[nodiscard]] std::wstring widen(std::u16string_view text);

inline std::wstring describe(const std::wstring &value)
{
    return quoted(value);
}
inline std::wstring describe(bool value)
{
    return value ? L"true" : L"false";
}
template <class T> std::wstring describe(const T &value)
{
    if constexpr (std::is_pointer_v<T>)
        return value ? L"(handle)" : L"(null)";
    else
        return std::to_wstring(value);
}

} // namespace checks

// CHECK(condition) and CHECK_EQ(actual, expected), both true if they passed.
// CHECK_MSG adds a wide text saying what was seen.
#define CHECK(condition)                                                                           \
    checks::record(static_cast<bool>(condition), #condition, __FILE__, __LINE__)
#define CHECK_MSG(condition, detail)                                                               \
    checks::record(static_cast<bool>(condition), #condition, __FILE__, __LINE__, (detail))
#define CHECK_EQ(actual, expected)                                                                 \
    [&](const auto &a_, const auto &e_) {                                                          \
        return checks::record(a_ == e_, #actual " == " #expected, __FILE__, __LINE__,              \
                              L"got " + checks::describe(a_) + L", expected " +                    \
                                  checks::describe(e_));                                           \
    }((actual), (expected))
