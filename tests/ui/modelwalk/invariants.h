#pragma once

// Reads the real windows back as a FlowState and checks them against the
// model and against the rules that hold in every state.

#include "tests/support/flowfixture.h"
#include "tests/ui/modelwalk/flowmodel.h"

#include <QApplication>

namespace modelwalk {

inline Form *formOf(const FlowFixture &flow, Win win)
{
    switch (win) {
    case Win::Main:
        return flow.existing<frmWindScale>();
    case Win::Help:
        return flow.existing<frmhelp1>();
    case Win::About:
        return flow.existing<frmabout>();
    case Win::Map:
        return flow.existing<frmAreas>();
    }
    return nullptr;
}

inline QWidget *windowOf(const FlowFixture &flow, Win win)
{
    Form *form = formOf(flow, win);
    return form ? loadedWidget(*form) : nullptr;
}

// The window flow as the program shows it. A front window that is none of
// the program's windows (a drop-down list left open, say) shows as no window
// in front and is caught by the comparison with the model.
inline FlowState observe(const FlowFixture &flow)
{
    FlowState state;
    state.ended = flow.ended();
    for (Win win : allWins) {
        const Form *form = formOf(flow, win);
        state[win] = {form != nullptr, form && form->isLoaded(), form && form->isVisible()};
    }
    const Form *main = formOf(flow, Win::Main);
    state.mainEnabled = main && main->isEnabled();
    QWidget *front = QApplication::activeWindow();
    for (Win win : allWins) {
        if (front && front == windowOf(flow, win))
            state.active = win;
    }
    return state;
}

// Top-level windows of the program that are on screen, loaded or not: an
// unloaded window still showing would be a leak of the old window.
inline int visibleProgramWindows()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (dynamic_cast<FormWindow *>(widget) && widget->isVisible())
            ++count;
    }
    return count;
}

class Invariants
{
public:
    // A fresh set of windows: instances are recorded anew.
    void reset() { m_instances.fill(nullptr); }

    // Everything that is wrong now, or nothing.
    QStringList check(const FlowFixture &flow, const Model &model)
    {
        QStringList problems;
        const FlowState seen = observe(flow);
        const FlowState &expected = model.flow;

        // One instance per class, never replaced.
        for (Win win : allWins) {
            const Form *form = formOf(flow, win);
            const Form *&first = m_instances[std::size_t(win)];
            if (first && form != first)
                problems << QStringLiteral("%1: registry instance replaced").arg(name(win));
            if (!first)
                first = form;
        }

        if (seen != expected) {
            problems << QStringLiteral("program: %1").arg(seen.describe());
            problems << QStringLiteral("model:   %1").arg(expected.describe());
        }

        if (seen.ended) {
            if (flow.exitCode() != 0)
                problems << QStringLiteral("ended with exit code %1").arg(flow.exitCode());
            if (visibleProgramWindows() != 0)
                problems << QStringLiteral("%1 window(s) still visible after End")
                                .arg(visibleProgramWindows());
            return problems;
        }

        // Rules of the window flow, on what the program shows.
        const bool helpOrAbout = seen[Win::Help].visible || seen[Win::About].visible;
        if (seen.visibleCount() == 0)
            problems << QStringLiteral("no window of the program is visible");
        if (!seen.mainEnabled && !helpOrAbout)
            problems << QStringLiteral("main window input off with neither help nor about visible");
        if (!seen[Win::Main].visible && !seen[Win::Map].visible)
            problems << QStringLiteral("main window hidden without the map visible");
        if (visibleProgramWindows() != seen.visibleCount())
            problems << QStringLiteral("%1 program window(s) on screen, %2 expected")
                            .arg(visibleProgramWindows())
                            .arg(seen.visibleCount());

        // The main window's lists and texts.
        auto *main = static_cast<frmWindScale *>(formOf(flow, Win::Main));
        if (!main || !main->isLoaded()) {
            problems << QStringLiteral("main window not loaded");
            return problems;
        }
        for (std::size_t i = 0; i < allScaleColumns.size(); ++i) {
            const ScaleComboBox &box = qtComboBox(main->box(allScaleColumns[i]));
            const auto entries = ScaleTable::columnTexts(allScaleColumns[i]);
            bool same = box.count() == ScaleTable::rowCount;
            for (int row = 0; same && row < ScaleTable::rowCount; ++row)
                same = box.itemText(row) == uidriver::latin1(entries[std::size_t(row)]);
            if (!same)
                problems << QStringLiteral(
                                "%1: list does not hold its column's 13 entries in order")
                                .arg(QString::fromLatin1(boxName(allScaleColumns[i])));
        }
        const auto texts = uidriver::sevenTexts(*main);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (texts[i] != model.main.texts[i]) {
                const QString where = i < 6 ? QString::fromLatin1(boxName(allScaleColumns[i]))
                                            : QStringLiteral("Text1");
                problems << QStringLiteral("%1 shows \"%2\", expected \"%3\"")
                                .arg(where, texts[i].left(80), model.main.texts[i].left(80));
            }
        }
        if (model.pickedRow) {
            const int shown = uidriver::shownRow(*main);
            if (shown != *model.pickedRow)
                problems << QStringLiteral("after picking row %1 the seven texts show row %2")
                                .arg(*model.pickedRow)
                                .arg(shown);
        }
        return problems;
    }

private:
    static QString name(Win win) { return QString::fromLatin1(winName(win)); }

    std::array<const Form *, winCount> m_instances{};
};

} // namespace modelwalk
