#include "core/scale/forcetext.h"

#include <algorithm>

namespace {

constexpr int highestForce = 12;
// Any integer part above the highest force is kept at this value, so that a
// long run of digits cannot overflow.
constexpr int tooLarge = highestForce + 1;

bool isAsciiDigit(char16_t c) noexcept
{
    return c >= u'0' && c <= u'9';
}

class ForceReader
{
public:
    explicit ForceReader(std::u16string_view text) noexcept
        : m_text(text)
    {}

    std::optional<int> read() noexcept
    {
        skipSpaces();
        const bool negative = takeSign();
        int value = 0;
        if (!takeDigits(value))
            return std::nullopt;
        bool whole = true;
        if (take(u'.')) {
            int ignored = 0;
            if (!takeDigits(ignored, &whole))
                return std::nullopt;
        }
        skipSpaces();
        if (m_pos != m_text.size() || !whole || value > highestForce)
            return std::nullopt;
        if (negative && value != 0)
            return std::nullopt;
        return value;
    }

private:
    bool atEnd() const noexcept { return m_pos >= m_text.size(); }
    char16_t current() const noexcept { return m_text[m_pos]; }

    bool take(char16_t c) noexcept
    {
        if (atEnd() || current() != c)
            return false;
        ++m_pos;
        return true;
    }

    void skipSpaces() noexcept
    {
        while (take(u' ')) {
        }
    }

    bool takeSign() noexcept
    {
        if (take(u'-'))
            return true;
        take(u'+');
        return false;
    }

    // Reads a run of at least one digit into `value` (saturating). When
    // `allZero` is given it is cleared on any digit other than 0.
    bool takeDigits(int &value, bool *allZero = nullptr) noexcept
    {
        const std::size_t start = m_pos;
        while (!atEnd() && isAsciiDigit(current())) {
            const int digit = current() - u'0';
            if (allZero && digit != 0)
                *allZero = false;
            value = value >= tooLarge ? tooLarge : std::min(value * 10 + digit, tooLarge);
            ++m_pos;
        }
        return m_pos > start;
    }

    std::u16string_view m_text;
    std::size_t m_pos = 0;
};

} // namespace

std::optional<int> readForce(std::u16string_view text) noexcept
{
    return ForceReader(text).read();
}
