#pragma once

// The design core's tests run in the Linux build and, under Wine, in the
// Windows builds, where no test framework is at hand: this header is all they
// need. A test case is a function registered with TEST_CASE; CHECK and
// CHECK_EQ record a failure with its file, line and values and let the case
// go on, so that one run shows every broken row of a table. The last line
// printed is "N passed, N failed" (test cases), and the exit status is
// non-zero when any case failed or none ran.

#include <concepts>
#include <cstdio>
#include <exception>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace check {

struct TestCase
{
    const char *name;
    void (*run)();
};

inline std::vector<TestCase> &testCases()
{
    static std::vector<TestCase> cases;
    return cases;
}

struct Registrar
{
    Registrar(const char *name, void (*run)()) { testCases().push_back({name, run}); }
};

struct RunState
{
    int failuresInCase = 0;
    // What the loops of a data-driven case are at, printed with a failure so
    // that it names the row rather than only the line of the check.
    std::vector<std::string> context;
};

inline RunState &runState()
{
    static RunState state;
    return state;
}

// Names the current row of a data-driven loop while it is in scope.
class Context
{
public:
    explicit Context(std::string what) { runState().context.push_back(std::move(what)); }
    ~Context() { runState().context.pop_back(); }
    Context(const Context &) = delete;
    Context &operator=(const Context &) = delete;
};

// UTF-16 text as printable ASCII, anything else escaped, so that a failure
// shows a stray blank or a non-ASCII character for what it is.
inline std::string printable(std::u16string_view text)
{
    std::string out = "\"";
    for (char16_t c : text) {
        if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        }
    }
    return out + "\"";
}

inline std::string printable(std::string_view text)
{
    return printable(std::u16string(text.begin(), text.end()));
}

template <class T> std::string describe(const T &value)
{
    if constexpr (std::is_same_v<T, bool>) {
        return value ? "true" : "false";
    } else if constexpr (std::is_same_v<T, std::nullptr_t>) {
        return "null";
    } else if constexpr (std::is_convertible_v<const T &, std::u16string_view>) {
        return printable(std::u16string_view(value));
    } else if constexpr (std::is_convertible_v<const T &, std::string_view>) {
        return printable(std::string_view(value));
    } else if constexpr (std::is_enum_v<T>) {
        return "enum value " + std::to_string(static_cast<long long>(value));
    } else if constexpr (std::is_pointer_v<T>) {
        return value ? "a non-null pointer" : "null";
    } else if constexpr (std::is_arithmetic_v<T>) {
        std::ostringstream out;
        out << value;
        return out.str();
    } else if constexpr (requires(const T &v) {
                             v.begin();
                             v.end();
                         }) {
        std::string out = "{";
        for (const auto &element : value)
            out += (out.size() > 1 ? ", " : "") + describe(element);
        return out + "}";
    } else {
        return "(a value that cannot be printed)";
    }
}

inline void fail(const char *file, int line, const std::string &message)
{
    ++runState().failuresInCase;
    std::printf("%s:%d: %s\n", file, line, message.c_str());
    for (const std::string &what : runState().context)
        std::printf("    at %s\n", what.c_str());
    std::fflush(stdout);
}

inline bool verify(bool passed, const char *expression, const char *file, int line)
{
    if (!passed)
        fail(file, line, std::string("CHECK(") + expression + ") failed");
    return passed;
}

// Integers of different signedness compare by value, not by conversion.
template <class A, class B> bool equal(const A &a, const B &b)
{
    if constexpr (std::integral<A> && std::integral<B> && !std::is_same_v<A, bool> &&
                  !std::is_same_v<B, bool>)
        return std::cmp_equal(a, b);
    else
        return a == b;
}

template <class A, class B>
bool verifyEqual(const A &actual, const B &expected, const char *actualText,
                 const char *expectedText, const char *file, int line)
{
    if (equal(actual, expected))
        return true;
    fail(file, line,
         std::string("CHECK_EQ(") + actualText + ", " + expectedText + ") failed\n    actual:   " +
             describe(actual) + "\n    expected: " + describe(expected));
    return false;
}

inline int runAll()
{
    int passed = 0;
    int failed = 0;
    for (const TestCase &test : testCases()) {
        runState() = RunState{};
        try {
            test.run();
        } catch (const std::exception &e) {
            fail(__FILE__, __LINE__, std::string("unexpected exception: ") + e.what());
        } catch (...) {
            fail(__FILE__, __LINE__, "unexpected exception of an unknown type");
        }
        const bool ok = runState().failuresInCase == 0;
        std::printf("%s %s\n", ok ? "PASS" : "FAIL", test.name);
        ++(ok ? passed : failed);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    std::fflush(stdout);
    // A program whose cases were never registered must not look like a pass.
    return failed == 0 && passed > 0 ? 0 : 1;
}

} // namespace check

#define TEST_CASE(name)                                                                            \
    static void name();                                                                            \
    static const ::check::Registrar name##_registrar(#name, &name);                                \
    static void name()

// Both return whether the check passed, so a case can stop where going on
// would make no sense: if (!CHECK(form)) return;
#define CHECK(condition)                                                                           \
    ::check::verify(static_cast<bool>(condition), #condition, __FILE__, __LINE__)
#define CHECK_EQ(actual, expected)                                                                 \
    ::check::verifyEqual((actual), (expected), #actual, #expected, __FILE__, __LINE__)
