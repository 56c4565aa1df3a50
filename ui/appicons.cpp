#include "appicons.h"

QIcon applicationIcon()
{
    // The sizes a title bar and a task switcher ask for; larger ones come
    // from the installed icon theme.
    QIcon icon;
    for (int size : {16, 32, 48}) {
        icon.addFile(
            QStringLiteral(":/galevane/icons/hicolor/%1x%1/apps/uk.co.quayforth.Galevane.png")
                .arg(size),
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
