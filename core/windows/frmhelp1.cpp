#include "core/windows/frmhelp1.h"

#include "core/windows/frmabout.h"
#include "core/windows/handlertable.h"
#include "core/windows/helplayout.h"

struct frmhelp1::Handlers
{
    static constexpr auto clicks = std::to_array<ClickHandler<frmhelp1>>({
        {"Command1", ControlKind::Button, &frmhelp1::Command1_Click},
        {"Label2", ControlKind::ClickableLabel, &frmhelp1::Label2_Click},
    });
    static_assert(handlersMatchLayout(clicks, HelpLayout::controls));
};

FormDesign frmhelp1::design() const
{
    return {HelpLayout::window, HelpLayout::controls};
}

void frmhelp1::controlClicked(std::string_view control)
{
    dispatchClick(*this, Handlers::clicks, control);
}

void frmhelp1::Label2_Click()
{
    defaultInstance<frmabout>().Show();
}
