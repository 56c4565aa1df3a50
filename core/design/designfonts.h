#pragma once

#include <array>
#include <string_view>

// The four typefaces the windows are designed in, asked for by these names;
// a front end may draw each with a stand-in where the face is missing.
enum class DesignFace { MsSansSerif, TimesNewRoman, ComicSansMs, Arial };

inline constexpr std::array<DesignFace, 4> allDesignFaces{
    DesignFace::MsSansSerif, DesignFace::TimesNewRoman, DesignFace::ComicSansMs, DesignFace::Arial};

struct FontSpec
{
    DesignFace face;
    double points;
    bool bold;
    bool underline;
};

// The face's own name, as the windows ask for it.
[[nodiscard]] constexpr std::u16string_view designFamily(DesignFace face)
{
    switch (face) {
    case DesignFace::MsSansSerif:
        return u"MS Sans Serif";
    case DesignFace::TimesNewRoman:
        return u"Times New Roman";
    case DesignFace::ComicSansMs:
        return u"Comic Sans MS";
    case DesignFace::Arial:
        return u"Arial";
    }
    return {};
}

// The dialog font, the default of every control, and its bold cut, which
// the buttons and the small print of all windows use.
namespace DesignFonts {
inline constexpr FontSpec dialog{DesignFace::MsSansSerif, 8.25, false, false};
inline constexpr FontSpec dialogBold{DesignFace::MsSansSerif, 8.25, true, false};
} // namespace DesignFonts
