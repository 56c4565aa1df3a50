#include "core/windows/frmabout.h"

#include "core/windows/aboutlayout.h"
#include "core/windows/handlertable.h"

struct frmabout::Handlers
{
    static constexpr auto clicks = std::to_array<ClickHandler<frmabout>>({
        {"Command1", ControlKind::Button, &frmabout::Command1_Click},
    });
    static_assert(handlersMatchLayout(clicks, AboutLayout::controls));
};

FormDesign frmabout::design() const
{
    return {AboutLayout::window, AboutLayout::controls};
}

void frmabout::controlClicked(std::string_view control)
{
    dispatchClick(*this, Handlers::clicks, control);
}
