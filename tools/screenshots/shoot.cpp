// Saves pictures of every window of the program, for looking at the layouts
// and for the software-centre screenshot:
//   shoot <folder>
// Run it under QT_SCALE_FACTOR=2 for pictures at a device pixel ratio of 2.

#include "shell/formwindow.h"
#include "startup/application.h"
#include "ui/controls/designfonts.h"
#include "ui/controls/scalecombobox.h"
#include "ui/main/frmwindscale.h"
#include "ui/secondary/frmabout.h"
#include "ui/secondary/frmareas.h"
#include "ui/secondary/frmhelp1.h"

#include <QDir>
#include <QTest>

namespace {

bool save(QWidget *window, const QString &folder, const QString &name)
{
    QTest::qWait(100);
    const QPixmap picture = window->grab();
    const QString path = QDir(folder).filePath(
        QStringLiteral("%1@%2x.png").arg(name).arg(picture.devicePixelRatio()));
    return picture.save(path);
}

} // namespace

int main(int argc, char *argv[])
{
    GalevaneApplication app(argc, argv);
    useDesignFonts();
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");

    WindowRegistry registry;
    frmWindScale &main = defaultInstance<frmWindScale>();
    main.Show();
    bool ok = save(&main.window(), folder, QStringLiteral("main"));
    main.box(ScaleColumn::Description).setFocus();
    QTest::keyClick(&main.box(ScaleColumn::Description), Qt::Key_Down);
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(&main.box(ScaleColumn::Description), Qt::Key_Down);
    ok = save(&main.window(), folder, QStringLiteral("main-gale")) && ok;

    defaultInstance<frmhelp1>().Show();
    ok = save(&defaultInstance<frmhelp1>().window(), folder, QStringLiteral("help")) && ok;
    defaultInstance<frmabout>().Show();
    ok = save(&defaultInstance<frmabout>().window(), folder, QStringLiteral("about")) && ok;
    defaultInstance<frmAreas>().Show();
    ok = save(&defaultInstance<frmAreas>().window(), folder, QStringLiteral("map")) && ok;
    return ok ? 0 : 1;
}
