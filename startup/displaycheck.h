#pragma once

#include <QString>

// What the program needs to know of its environment to pick a window system
// before the application object exists.
struct DisplayEnvironment
{
    QString platform;       // QT_QPA_PLATFORM as the user set it, or empty
    QString x11Display;     // DISPLAY
    QString waylandDisplay; // WAYLAND_DISPLAY

    [[nodiscard]] static DisplayEnvironment fromProcess();
};

// One line for the user when no window system can be reached, telling how to
// run `program` under a virtual X server instead; an empty string when the
// program can start.
[[nodiscard]] QString missingDisplayMessage(const DisplayEnvironment &env, const QString &program);

// The exit status of a program that found no window system to start on.
inline constexpr int noDisplayExitCode = 2;

// The windows are placed at fixed screen positions, which a Wayland
// compositor does not let a client do. Where X11 is reachable too (XWayland)
// and the user has not chosen a platform, this returns "xcb"; otherwise empty.
[[nodiscard]] QString preferredPlatform(const DisplayEnvironment &env);
