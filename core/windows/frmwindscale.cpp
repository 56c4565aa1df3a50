#include "ui/main/frmwindscale.h"

#include "scale/scaletable.h"
#include "shell/formwindow.h"
#include "ui/controls/appicons.h"
#include "ui/controls/formlabel.h"
#include "ui/controls/scalecombobox.h"
#include "ui/layout/controlaccess.h"
#include "ui/layout/formbuilder.h"
#include "ui/main/windscalelayout.h"
#include "ui/secondary/frmabout.h"
#include "ui/secondary/frmareas.h"
#include "ui/secondary/frmhelp1.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace {

QString tableText(std::string_view text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

QStringList columnEntries(ScaleColumn column)
{
    QStringList entries;
    for (std::string_view text : ScaleTable::columnTexts(column))
        entries.append(tableText(text));
    return entries;
}

} // namespace

const char *boxName(ScaleColumn column)
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

void frmWindScale::Form_Initialize()
{
    fillLists();
}

ScaleComboBox &frmWindScale::box(ScaleColumn column)
{
    return control<ScaleComboBox>(window(), boxName(column));
}

QPlainTextEdit &frmWindScale::Text1()
{
    return control<QPlainTextEdit>(window(), "Text1");
}

std::unique_ptr<FormWindow> frmWindScale::createWindow()
{
    auto window = buildFormWindow(*this, WindScaleLayout::window, WindScaleLayout::controls);
    window->setWindowIcon(applicationIcon());
    connectHandlers(*window);
    control<ScaleComboBox>(*window, "Combo1").setFocus();
    return window;
}

void frmWindScale::connectHandlers(FormWindow &window)
{
    const auto onPick = [&window](const char *name, auto handler) {
        auto &combo = control<ScaleComboBox>(window, name);
        QObject::connect(&combo, &ScaleComboBox::picked, &combo, handler);
    };
    onPick("Combo1", [this] { Combo1_Click(); });
    onPick("Combo2", [this] { Combo2_Click(); });
    onPick("Combo4", [this] { Combo4_Click(); });
    onPick("Combo5", [this] { Combo5_Click(); });
    onPick("Combo6", [this] { Combo6_Click(); });
    onPick("Combo7", [this] { Combo7_Click(); });

    const auto onClick = [&window](const char *name, auto handler) {
        auto &button = control<QPushButton>(window, name);
        QObject::connect(&button, &QPushButton::clicked, &button, handler);
    };
    onClick("Command1", [this] { Command1_Click(); });
    onClick("Command2", [this] { Command2_Click(); });
    onClick("Command3", [this] { Command3_Click(); });

    auto &maker = control<ClickableLabel>(window, "Label8");
    QObject::connect(&maker, &ClickableLabel::clicked, &maker, [this] { Label8_Click(); });
}

// In the designed order, the criterion between the first two lists and the
// lists out of column order: each step stands alone, so the order shows
// nowhere, and keeping it keeps start-up exactly as designed.
void frmWindScale::fillLists()
{
    box(ScaleColumn::Force).appendEntries(columnEntries(ScaleColumn::Force));
    Text1().setPlainText(StartupCriterionText.toString());
    box(ScaleColumn::MetresPerSecond).appendEntries(columnEntries(ScaleColumn::MetresPerSecond));
    box(ScaleColumn::Knots).appendEntries(columnEntries(ScaleColumn::Knots));
    box(ScaleColumn::MilesPerHour).appendEntries(columnEntries(ScaleColumn::MilesPerHour));
    box(ScaleColumn::Description).appendEntries(columnEntries(ScaleColumn::Description));
    box(ScaleColumn::WaveHeight).appendEntries(columnEntries(ScaleColumn::WaveHeight));
}

void frmWindScale::synchroniseFrom(ScaleColumn column)
{
    const ScaleRow *row = ScaleTable::findRow(column, box(column).currentText());
    if (!row)
        return;
    for (ScaleColumn target : allScaleColumns) {
        if (target != column)
            box(target).writeText(tableText(row->text(target)), row->force);
    }
    Text1().setPlainText(tableText(row->criterion));
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
