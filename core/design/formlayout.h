#pragma once

#include "core/design/designcolour.h"
#include "core/design/designfonts.h"
#include "core/design/twips.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The layout tables of the windows: each window's layout header beside it
// holds one WindowSpec and its controls as a constexpr array, front to back,
// in twips, from which the window is built at each load.

// The pictures built into the program; each front end keeps its own
// renderings of them.
enum class DesignPicture { None, Yacht, AreasMap };

// The window icons built into the program.
enum class DesignIcon { None, Application, AreasCloud };

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

// One control of a window's layout.
struct ControlSpec
{
    std::string_view name;
    ControlKind kind;
    std::u16string_view text;
    TwipRect rect;
    std::optional<FontSpec> font;
    DesignColour foreground; // text colour
    DesignColour background; // face, fill or box background
    DesignColour border;
    int borderPixels = 0;
    int tabIndex = noTabStop;
    std::u16string_view toolTip = {};
    // What assistive technology calls and says of the control, where its
    // text does not.
    std::u16string_view accessibleName = {};
    std::u16string_view accessibleDescription = {};
    // Labels only: the control this label names, announced with it; the
    // label's text is that control's accessible name where it has none.
    std::string_view buddy = {};
    DesignPicture picture = DesignPicture::None; // shown by picture controls
    bool centredVertically = false;              // labels only: text centred in height too
    // Labels only: pixels kept clear around the text on every side, where a
    // shape's border lies under the label's edges.
    int textMarginPixels = 0;
};

enum class WindowFrame { FixedSingle, None };
enum class WindowPlacement { CentreScreen, FixedOnScreen };

struct WindowSpec
{
    std::string_view name; // the window's object name, its class's name
    std::u16string_view caption;
    TwipSize client;
    WindowFrame frame;
    WindowPlacement placement;
    TwipSize screenPosition; // top-left for FixedOnScreen
    DesignColour background;
    DesignIcon icon = DesignIcon::None;
    // What assistive technology calls the window, where its title does not
    // say what it is.
    std::u16string_view accessibleName = {};
    // A window that assistive technology meets as a dialog: announced as
    // one when it opens, with its plain labels' text (dialogDescription) as
    // its description, so that a reader speaks it then.
    bool dialog = false;
};

// The controls in the order a reader meets them: top to bottom, then left to
// right, by their top-left corners; for equal corners, front to back.
[[nodiscard]] inline std::vector<const ControlSpec *>
inReadingOrder(std::span<const ControlSpec> controls)
{
    std::vector<const ControlSpec *> order;
    order.reserve(controls.size());
    for (const ControlSpec &control : controls)
        order.push_back(&control);
    std::stable_sort(order.begin(), order.end(), [](const ControlSpec *a, const ControlSpec *b) {
        return a->rect.top != b->rect.top ? a->rect.top < b->rect.top : a->rect.left < b->rect.left;
    });
    return order;
}

// What a dialog says when it opens: the text of its plain labels (not the
// ones that react to a click), in reading order, one a line.
[[nodiscard]] inline std::u16string dialogDescription(std::span<const ControlSpec> controls)
{
    std::u16string description;
    for (const ControlSpec *control : inReadingOrder(controls)) {
        if (control->kind != ControlKind::Label || control->text.empty())
            continue;
        if (!description.empty())
            description += u'\n';
        description += control->text;
    }
    return description;
}

// What assistive technology calls a control: its own accessible name, else
// the text of the label whose buddy it is (a heading names its box), else
// nothing, and the front end falls back on the control's own text.
[[nodiscard]] constexpr std::u16string_view accessibleNameOf(std::span<const ControlSpec> controls,
                                                             const ControlSpec &control)
{
    if (!control.accessibleName.empty())
        return control.accessibleName;
    for (const ControlSpec &label : controls) {
        if (label.buddy == control.name && !label.text.empty())
            return label.text;
    }
    return {};
}

// A layout's own consistency, checked where the table is written: every
// control has a name of its own, and every buddy names a control of the
// same window.
[[nodiscard]] constexpr bool isConsistentLayout(std::span<const ControlSpec> controls)
{
    const auto named = [controls](std::string_view name) {
        return std::count_if(controls.begin(), controls.end(),
                             [name](const ControlSpec &c) { return c.name == name; });
    };
    return std::all_of(controls.begin(), controls.end(), [&named](const ControlSpec &c) {
        return !c.name.empty() && named(c.name) == 1 && (c.buddy.empty() || named(c.buddy) == 1);
    });
}

// Whether the layout has a control of that name and kind: the handlers'
// controls are checked against their window's layout where it is written.
[[nodiscard]] constexpr bool hasControl(std::span<const ControlSpec> controls,
                                        std::string_view name, ControlKind kind)
{
    return std::any_of(controls.begin(), controls.end(), [name, kind](const ControlSpec &c) {
        return c.name == name && c.kind == kind;
    });
}
