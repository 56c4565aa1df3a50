// Saves pictures of every window of the program, for looking at the layouts
// and for the software-centre screenshot:
//   shoot <folder>
// Run it under QT_SCALE_FACTOR=2 for pictures at a device pixel ratio of 2.

#include "core/windows/frmabout.h"
#include "core/windows/frmareas.h"
#include "core/windows/frmhelp1.h"
#include "core/windows/frmwindscale.h"
#include "qt/builder/formwidgets.h"
#include "qt/builder/qtfrontend.h"
#include "qt/controls/qtfonts.h"
#include "qt/controls/scalecombobox.h"
#include "qt/shell/formwindow.h"
#include "qt/startup/application.h"

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

    QtFrontEnd frontEnd;
    WindowRegistry registry(frontEnd);
    frmWindScale &main = defaultInstance<frmWindScale>();
    main.Show();
    bool ok = save(&formWidget(main), folder, QStringLiteral("main"));
    qtComboBox(main.box(ScaleColumn::Description)).setFocus();
    QTest::keyClick(&qtComboBox(main.box(ScaleColumn::Description)), Qt::Key_Down);
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(&qtComboBox(main.box(ScaleColumn::Description)), Qt::Key_Down);
    ok = save(&formWidget(main), folder, QStringLiteral("main-gale")) && ok;

    defaultInstance<frmhelp1>().Show();
    ok = save(&formWidget(defaultInstance<frmhelp1>()), folder, QStringLiteral("help")) && ok;
    defaultInstance<frmabout>().Show();
    ok = save(&formWidget(defaultInstance<frmabout>()), folder, QStringLiteral("about")) && ok;
    defaultInstance<frmAreas>().Show();
    ok = save(&formWidget(defaultInstance<frmAreas>()), folder, QStringLiteral("map")) && ok;
    return ok ? 0 : 1;
}
