#include "qt/controls/appicons.h"

#include "assets/rawimage.h"

#include <QPixmap>

namespace {

QPixmap compiledIn(const QString &resource)
{
    return QPixmap::fromImage(rawimage::fromResource(resource));
}

} // namespace

// Built from raw pixels rather than with QIcon::addFile, which would load
// every image plugin to find out what the files are.
QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {GALEVANE_WINDOW_ICON_SIZES})
        icon.addPixmap(
            compiledIn(QStringLiteral(":/galevane/icons/raw/application-%1.argb").arg(size)));
    return icon;
}

QIcon areasWindowIcon()
{
    QIcon icon;
    icon.addPixmap(compiledIn(QStringLiteral(":/galevane/icons/raw/areas-cloud-16.argb")));
    icon.addPixmap(compiledIn(QStringLiteral(":/galevane/icons/raw/areas-cloud-32.argb")));
    return icon;
}
