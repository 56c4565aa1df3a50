// Cost of one pick in the main window, measured the way a user makes it: an
// arrow key on a closed box steps the box to the next entry, the box reports
// the pick, and the window writes the row into the other five boxes and the
// criterion box before the key event returns.
//
//   bench_pick [picks]      default 2000
//
// The picks go round the six boxes in turn, stepping down the list and back
// up at either end. Two figures are reported for each pick:
//   pick        from sending the key press to its return, i.e. until all six
//               texts and the criterion are written (the window's own work);
//   pick+paint  the same plus handling the events the pick left behind, which
//               on the offscreen platform includes repainting the window.
// After every pick the seven texts are checked against the table (outside
// the timed part). Exits 1 when a text is wrong or the pick's 99th
// percentile is above 1 ms.

#include "core/forms/windowregistry.h"
#include "core/scale/scaletable.h"
#include "core/windows/frmwindscale.h"
#include "qt/builder/formwidgets.h"
#include "qt/builder/qtfrontend.h"
#include "qt/controls/qtfonts.h"
#include "qt/controls/scalecombobox.h"
#include "qt/startup/application.h"

#include <QPlainTextEdit>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double microseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::micro>(d).count();
}

struct Summary
{
    double median;
    double p99;
    double max;
};

Summary summarise(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    // Nearest-rank percentiles.
    const auto rank = [n](double p) {
        return std::min(n - 1, std::size_t(std::ceil(p * double(n))) - 1);
    };
    return {samples[rank(0.5)], samples[rank(0.99)], samples.back()};
}

QString tableText(std::string_view text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

// True when every box and the criterion show `force`'s row.
bool showsRow(frmWindScale &window, int force)
{
    const ScaleRow *row = ScaleTable::row(force);
    for (ScaleColumn column : allScaleColumns) {
        if (qtComboBox(window.box(column)).currentText() != tableText(row->text(column)))
            return false;
    }
    return qtTextBox(window.Text1()).toPlainText() == tableText(row->criterion);
}

} // namespace

int main(int argc, char **argv)
{
    int picks = 2000;
    if (argc > 1) {
        picks = std::atoi(argv[1]);
        if (picks < 1) {
            std::fprintf(stderr, "usage: bench_pick [picks]\n");
            return 2;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    GalevaneApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    registerFontSubstitutions();

    QtFrontEnd frontEnd;
    WindowRegistry registry(frontEnd);
    frmWindScale &window = defaultInstance<frmWindScale>();
    window.Show();
    QCoreApplication::processEvents();

    std::vector<double> pickTimes;
    std::vector<double> paintedTimes;
    pickTimes.reserve(std::size_t(picks));
    paintedTimes.reserve(std::size_t(picks));
    int wrong = 0;
    int step = +1;
    for (int i = 0; i < picks; ++i) {
        ScaleComboBox &box =
            qtComboBox(window.box(allScaleColumns[std::size_t(i) % allScaleColumns.size()]));
        int target = box.currentIndex() + step;
        if (target < 0 || target >= box.count()) {
            step = -step;
            target = box.currentIndex() + step;
        }
        const Qt::Key key = step > 0 ? Qt::Key_Down : Qt::Key_Up;

        const Clock::time_point start = Clock::now();
        QTest::keyPress(&box, key);
        const Clock::time_point written = Clock::now();
        QCoreApplication::processEvents();
        const Clock::time_point painted = Clock::now();
        QTest::keyRelease(&box, key);

        pickTimes.push_back(microseconds(written - start));
        paintedTimes.push_back(microseconds(painted - start));
        if (!showsRow(window, target)) {
            if (++wrong <= 5)
                std::fprintf(stderr, "bench_pick: pick %d did not show force %d\n", i, target);
        }
    }

    const Summary pick = summarise(pickTimes);
    const Summary painted = summarise(paintedTimes);
    std::printf("bench_pick: %d picks on platform %s\n", picks,
                qPrintable(QGuiApplication::platformName()));
    std::printf("pick        median %8.1f us   p99 %8.1f us   max %8.1f us\n", pick.median,
                pick.p99, pick.max);
    std::printf("pick+paint  median %8.1f us   p99 %8.1f us   max %8.1f us\n", painted.median,
                painted.p99, painted.max);
    const bool met = pick.p99 <= 1000.0;
    std::printf("target pick p99 <= 1000 us: %s; wrong texts after %d of %d picks\n",
                met ? "met" : "MISSED", wrong, picks);
    std::fflush(stdout);
    registry.End();
    return met && wrong == 0 ? 0 : 1;
}
