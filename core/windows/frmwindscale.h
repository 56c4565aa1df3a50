#pragma once

#include "scale/scalecolumn.h"
#include "shell/form.h"

#include <QStringView>

class ClickableLabel;
class QPlainTextEdit;
class QPushButton;
class ScaleComboBox;

// The criterion shown before the first pick; unlike row 0's sentence it has
// no full stop.
inline constexpr QStringView StartupCriterionText = u"Sea like a mirror";

// The main window: one row of the scale in six drop-down boxes and the
// criterion box; a pick in any box writes the same row into the others.
class frmWindScale final : public Form
{
public:
    frmWindScale() = default;

    void Form_Initialize() override;

    // The controls; each access loads the window if it is not loaded.
    [[nodiscard]] ScaleComboBox &box(ScaleColumn column);
    [[nodiscard]] QPlainTextEdit &Text1();

protected:
    [[nodiscard]] std::unique_ptr<FormWindow> createWindow() override;
    void Form_Unload(bool &cancel) override;

private:
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

    void connectHandlers(FormWindow &window);
};

// The name of the box that shows a column ("Combo1" ... "Combo7").
[[nodiscard]] const char *boxName(ScaleColumn column);
