#include "core/windows/frmwindscale.h"

#include "core/scale/scaletable.h"
#include "core/windows/frmabout.h"
#include "core/windows/frmareas.h"
#include "core/windows/frmhelp1.h"
#include "core/windows/handlertable.h"
#include "core/windows/windscalelayout.h"

#include <algorithm>

namespace {

// Every box of the layout is a drop-down box; the criterion a text box.
static_assert(std::all_of(allScaleColumns.begin(), allScaleColumns.end(), [](ScaleColumn c) {
    return hasControl(WindScaleLayout::controls, boxName(c), ControlKind::ComboBox);
}));
static_assert(hasControl(WindScaleLayout::controls, "Text1", ControlKind::TextBox));

} // namespace

struct frmWindScale::Handlers
{
    static constexpr auto clicks = std::to_array<ClickHandler<frmWindScale>>({
        {"Combo1", ControlKind::ComboBox, &frmWindScale::Combo1_Click},
        {"Combo2", ControlKind::ComboBox, &frmWindScale::Combo2_Click},
        {"Combo4", ControlKind::ComboBox, &frmWindScale::Combo4_Click},
        {"Combo5", ControlKind::ComboBox, &frmWindScale::Combo5_Click},
        {"Combo6", ControlKind::ComboBox, &frmWindScale::Combo6_Click},
        {"Combo7", ControlKind::ComboBox, &frmWindScale::Combo7_Click},
        {"Command1", ControlKind::Button, &frmWindScale::Command1_Click},
        {"Command2", ControlKind::GraphicalButton, &frmWindScale::Command2_Click},
        {"Command3", ControlKind::GraphicalButton, &frmWindScale::Command3_Click},
        {"Label8", ControlKind::ClickableLabel, &frmWindScale::Label8_Click},
    });
    static_assert(handlersMatchLayout(clicks, WindScaleLayout::controls));
};

void frmWindScale::Form_Initialize()
{
    fillLists();
}

ComboBoxControl &frmWindScale::box(ScaleColumn column)
{
    return view().comboBox(boxName(column));
}

TextBoxControl &frmWindScale::Text1()
{
    return view().textBox("Text1");
}

FormDesign frmWindScale::design() const
{
    return {WindScaleLayout::window, WindScaleLayout::controls};
}

void frmWindScale::controlClicked(std::string_view control)
{
    dispatchClick(*this, Handlers::clicks, control);
}

// In the designed order, the criterion between the first two lists and the
// lists out of column order: each step stands alone, so the order shows
// nowhere, and keeping it keeps start-up exactly as designed.
void frmWindScale::fillLists()
{
    box(ScaleColumn::Force).appendEntries(ScaleTable::columnTexts(ScaleColumn::Force));
    Text1().writeText(StartupCriterionText);
    box(ScaleColumn::MetresPerSecond)
        .appendEntries(ScaleTable::columnTexts(ScaleColumn::MetresPerSecond));
    box(ScaleColumn::Knots).appendEntries(ScaleTable::columnTexts(ScaleColumn::Knots));
    box(ScaleColumn::MilesPerHour)
        .appendEntries(ScaleTable::columnTexts(ScaleColumn::MilesPerHour));
    box(ScaleColumn::Description).appendEntries(ScaleTable::columnTexts(ScaleColumn::Description));
    box(ScaleColumn::WaveHeight).appendEntries(ScaleTable::columnTexts(ScaleColumn::WaveHeight));
}

void frmWindScale::synchroniseFrom(ScaleColumn column)
{
    const ScaleRow *row = ScaleTable::findRow(column, box(column).text());
    if (!row)
        return;
    for (ScaleColumn target : allScaleColumns) {
        if (target != column)
            box(target).writeText(row->text(target), row->force);
    }
    // The table's texts are ASCII, so each character widens as it is.
    const std::u16string criterion(row->criterion.begin(), row->criterion.end());
    Text1().writeText(criterion);
}

void frmWindScale::Form_Unload(bool &)
{
    WindowRegistry::current().End();
}

void frmWindScale::Command1_Click()
{
    WindowRegistry::current().End();
}

// Show alone would load the window and make it visible. The three steps are
// the design's, each through the window's one instance; Load of a loaded
// window and Visible on a visible one change nothing, so the repeats are
// harmless and stay.
void frmWindScale::Command2_Click()
{
    defaultInstance<frmhelp1>().Load();
    defaultInstance<frmhelp1>().Show();
    defaultInstance<frmhelp1>().Visible(true);
}

void frmWindScale::Command3_Click()
{
    defaultInstance<frmAreas>().Show();
    Hide();
}

void frmWindScale::Label8_Click()
{
    defaultInstance<frmabout>().Show();
}
