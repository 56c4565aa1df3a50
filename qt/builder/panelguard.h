#pragma once

class QWidget;

// While a panel has the main window's input off, every open panel stays
// above the main window, whatever brings the main window forward.
namespace PanelGuard {

// `panel` has switched off the input of `lower`.
void hold(QWidget &lower, QWidget &panel);

} // namespace PanelGuard
