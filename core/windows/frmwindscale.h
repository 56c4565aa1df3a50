#pragma once

#include "core/forms/form.h"
#include "core/scale/scalecolumn.h"

#include <string_view>

// The criterion shown before the first pick; unlike row 0's sentence it has
// no full stop.
inline constexpr std::u16string_view StartupCriterionText = u"Sea like a mirror";

// The main window: one row of the scale in six drop-down boxes and the
// criterion box; a pick in any box writes the same row into the others.
class frmWindScale final : public Form
{
public:
    frmWindScale() = default;

    void Form_Initialize() override;

    // The controls; each access loads the window if it is not loaded.
    [[nodiscard]] ComboBoxControl &box(ScaleColumn column);
    [[nodiscard]] TextBoxControl &Text1();

protected:
    [[nodiscard]] FormDesign design() const override;
    void Form_Unload(bool &cancel) override;
    void controlClicked(std::string_view control) override;

private:
    struct Handlers;

    void fillLists();
    void synchroniseFrom(ScaleColumn column);

    void Combo1_Click() { synchroniseFrom(ScaleColumn::Force); }
    void Combo2_Click() { synchroniseFrom(ScaleColumn::Description); }
    void Combo4_Click() { synchroniseFrom(ScaleColumn::Knots); }
    void Combo5_Click() { synchroniseFrom(ScaleColumn::MetresPerSecond); }
    void Combo6_Click() { synchroniseFrom(ScaleColumn::MilesPerHour); }
    void Combo7_Click() { synchroniseFrom(ScaleColumn::WaveHeight); }
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Label8_Click();
};

// The name of the box that shows a column ("Combo1" ... "Combo7").
[[nodiscard]] constexpr std::string_view boxName(ScaleColumn column)
{
    switch (column) {
    case ScaleColumn::Force:
        return "Combo1";
    case ScaleColumn::Description:
        return "Combo2";
    case ScaleColumn::Knots:
        return "Combo4";
    case ScaleColumn::MetresPerSecond:
        return "Combo5";
    case ScaleColumn::MilesPerHour:
        return "Combo6";
    case ScaleColumn::WaveHeight:
        return "Combo7";
    }
    return "";
}
