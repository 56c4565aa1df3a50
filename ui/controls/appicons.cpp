#include "ui/controls/appicons.h"

#include "shell/identity.h"

QIcon applicationIcon()
{
    // The sizes a title bar and a task switcher ask for; larger ones come
    // from the installed icon theme.
    constexpr int largestWindowIcon = 48;
    QIcon icon;
    for (int size : galevane::applicationIconSizes) {
        if (size > largestWindowIcon)
            continue;
        icon.addFile(QStringLiteral(":/galevane/icons/hicolor/%1x%1/apps/%2.png")
                         .arg(size)
                         .arg(galevane::applicationId),
                     QSize(size, size));
    }
    return icon;
}

QIcon areasWindowIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/galevane/icons/areas-cloud-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/galevane/icons/areas-cloud-32.png"), QSize(32, 32));
    return icon;
}
