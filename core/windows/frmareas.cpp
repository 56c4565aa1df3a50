#include "core/windows/frmareas.h"

#include "core/windows/areaslayout.h"
#include "core/windows/frmwindscale.h"
#include "core/windows/handlertable.h"

struct frmAreas::Handlers
{
    static constexpr auto clicks = std::to_array<ClickHandler<frmAreas>>({
        {"Command1", ControlKind::Button, &frmAreas::Command1_Click},
    });
    static_assert(handlersMatchLayout(clicks, AreasLayout::controls));
};

FormDesign frmAreas::design() const
{
    return {AreasLayout::window, AreasLayout::controls};
}

void frmAreas::controlClicked(std::string_view control)
{
    dispatchClick(*this, Handlers::clicks, control);
}

void frmAreas::returnToMainWindow()
{
    Hide();
    defaultInstance<frmWindScale>().Show();
}

void frmAreas::Command1_Click()
{
    returnToMainWindow();
}

void frmAreas::Form_Unload(bool &)
{
    returnToMainWindow();
}

void frmAreas::Form_Terminate()
{
    returnToMainWindow();
}
