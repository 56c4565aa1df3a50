#pragma once

#include <QIcon>

// The rain-cloud icon of the program and its main window.
[[nodiscard]] QIcon applicationIcon();
// The plain cloud of the forecast-areas window.
[[nodiscard]] QIcon areasWindowIcon();
