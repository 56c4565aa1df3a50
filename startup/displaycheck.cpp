#include "startup/displaycheck.h"

#include <QtGlobal>

DisplayEnvironment DisplayEnvironment::fromProcess()
{
    return {qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("DISPLAY"),
            qEnvironmentVariable("WAYLAND_DISPLAY")};
}

QString missingDisplayMessage(const DisplayEnvironment &env, const QString &program)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    if (env.platform.isEmpty() && env.x11Display.isEmpty() && env.waylandDisplay.isEmpty()) {
        return QStringLiteral("galevane: no display found (DISPLAY and WAYLAND_DISPLAY are not "
                              "set); to run without a screen use: xvfb-run -a %1")
            .arg(program);
    }
#else
    Q_UNUSED(env)
    Q_UNUSED(program)
#endif
    return {};
}

QString preferredPlatform(const DisplayEnvironment &env)
{
    if (env.platform.isEmpty() && !env.waylandDisplay.isEmpty() && !env.x11Display.isEmpty())
        return QStringLiteral("xcb");
    return {};
}
