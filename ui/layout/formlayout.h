#pragma once

#include "designfonts.h"
#include "twips.h"

#include <QPalette>
#include <QRgb>

#include <optional>
#include <string_view>

// A colour of a layout: either fixed RGB or a role of the desktop's colour
// scheme, looked up in the application palette when the window is built.
struct LayoutColour
{
    enum class Kind { Unset, Rgb, System };
    Kind kind = Kind::Unset;
    QRgb rgb = 0;
    QPalette::ColorRole role = QPalette::NoRole;

    static constexpr LayoutColour fixed(QRgb value) { return {Kind::Rgb, value, QPalette::NoRole}; }
    static constexpr LayoutColour system(QPalette::ColorRole r) { return {Kind::System, 0, r}; }
};

// The desktop colour roles the windows use, by their design names.
namespace SystemColour {
inline constexpr LayoutColour windowBackground = LayoutColour::system(QPalette::Base);
inline constexpr LayoutColour windowText = LayoutColour::system(QPalette::Text);
inline constexpr LayoutColour buttonText = LayoutColour::system(QPalette::ButtonText);
inline constexpr LayoutColour highlightText = LayoutColour::system(QPalette::HighlightedText);
} // namespace SystemColour

enum class ControlKind {
    Label,
    ClickableLabel,
    ComboBox,
    TextBox,
    Button,
    GraphicalButton,
    Shape,
    StretchedPicture,
    Bitmap,
};

inline constexpr int noTabStop = -1;

// One control of a window's layout, in twips.
struct ControlSpec
{
    std::string_view name;
    ControlKind kind;
    std::u16string_view text;
    TwipRect rect;
    std::optional<FontSpec> font;
    LayoutColour foreground; // text colour
    LayoutColour background; // face, fill or box background
    LayoutColour border;
    int borderPixels = 0;
    int tabIndex = noTabStop;
    std::u16string_view toolTip = {};
    std::u16string_view accessibleDescription = {};
    std::string_view resource = {}; // picture shown by picture controls
    bool centredVertically = false; // labels only: text centred in height too
    // Labels only: pixels kept clear around the text on every side, where a
    // shape's border lies under the label's edges.
    int textMarginPixels = 0;
};

enum class WindowFrame { FixedSingle, None };
enum class WindowPlacement { CentreScreen, FixedOnScreen };

struct WindowSpec
{
    std::u16string_view caption;
    TwipSize client;
    WindowFrame frame;
    WindowPlacement placement;
    TwipSize screenPosition; // top-left for FixedOnScreen
    LayoutColour background;
    // What assistive technology calls the window, where its title does not
    // say what it is.
    std::u16string_view accessibleName = {};
};
