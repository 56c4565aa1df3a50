// The fair floor for the start-up and memory comparison: Galevane's main
// window written by hand with plain Qt. Same size, title, colours, fonts,
// controls, texts, picture and icon, at the same places in pixels, with
// nothing of the program linked in: no window registry, no layout tables, no
// control classes beyond two small paint functions. The picture and the icon
// are compiled in from the program's committed files, as resources of this
// program's own.
//
// With GALEVANE_REPORT_FIRST_PAINT set it prints
//     first-paint-ns <std::chrono::steady_clock nanoseconds>
// once the window's first paint pass has finished, and exits 0, as the
// program does.

#include "tools/bench/firstpaintreporter.h"

#include <QApplication>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

constexpr QRgb lightCyan = qRgb(128, 255, 255);
constexpr QRgb lightYellow = qRgb(255, 255, 128);
constexpr QRgb magenta = qRgb(255, 0, 255);
constexpr QRgb red = qRgb(255, 0, 0);
constexpr QRgb black = qRgb(0, 0, 0);
constexpr QRgb white = qRgb(255, 255, 255);
constexpr QRgb darkBlue = qRgb(0, 0, 192);

// One force of the Beaufort scale, as the six boxes and the criterion box
// show it.
struct Row
{
    QStringView force;
    QStringView description;
    QStringView knots;
    QStringView metresPerSecond;
    QStringView milesPerHour;
    QStringView waveHeight;
    QStringView criterion;
};

constexpr std::array<Row, 13> rows{{
    {u"0", u"Calm", u"Less than 1", u"0 - 0.2", u"Less than 1", u"0.0", u"Sea like a mirror."},
    {u"1", u"Light Air", u"1 - 3", u"0.3 - 1.5", u"1 - 3", u"0.1",
     u"Ripples with the appearance of scales are formed, but without foam crests."},
    {u"2", u"Light Breeze", u"4 - 6", u"1.6 - 3.3", u"4 - 7", u"0.2",
     u"Small wavelets, still short but more pronounced: Crests have a glassy appearance and do "
     u"not break."},
    {u"3", u"Gentle Breeze", u"7 - 10", u"3.4 - 5.4", u"8 - 12", u"0.6",
     u"Large wavelets, crests begin to break, foam of glassy appearance, prehaps scattered white "
     u"horses."},
    {u"4", u"Moderate Breeze", u"11 - 16", u"5.5 - 7.9", u"13 - 18", u"1.0",
     u"Small waves, becoming longer, fairly frequent white horses."},
    {u"5", u"Fresh Breeze", u"17 - 21", u"8.0 - 10.7", u"19 - 24", u"2.0",
     u"Moderate waves, taking a more pronounced long form, many white horses are formed. (chance "
     u"of some spray)"},
    {u"6", u"Strong Breeze", u"22 - 27", u"10.8 - 13.8", u"25 - 31", u"3.0",
     u"Large waves begin to form, the white foam tops are more extensive everywhere. (probably "
     u"some spray)"},
    {u"7", u"Near Gale", u"28 - 33", u"13.9 - 17.1", u"32 - 38", u"4.0",
     u"Sea heaps up and white foam from breaking waves begins to be blow in streaks along the "
     u"direction of the wind."},
    {u"8", u"Gale", u"34 - 40", u"17.2 - 20.7", u"39 - 46", u"5.5",
     u"Moderately high waves of greater length, edges of crests begin to break into spindrift, "
     u"foam is blow in well-marked streaks along the direction of the wind."},
    {u"9", u"Strong Gale", u"41 - 47", u"20.8 - 24.4", u"47 - 54", u"7.0",
     u"High waves, dense streaks of foam along the direction of the wind, crests of waves begin "
     u"to topple, tumble and roll over, spray may effect visibility."},
    {u"10", u"Storm", u"48 - 55", u"24.5 - 28.4", u"55 - 63", u"9.0",
     u"Very high waves with long overhanging crests: the resulting foam, in great patches, is "
     u"blow in dense white streaks along the direction of the wind; on the whole the surface of "
     u"the sea takes on a white appearance; the tumbling of the sea becomes heavy and "
     u"shock-like; visibility affected."},
    {u"11", u"Violent Storm", u"56 - 63", u"28.5 - 32.6", u"64 - 72", u"11.5",
     u"Exceptionally high waves (small and medium sized ships might be for a time lost to view "
     u"behind the waves): the sea is completely covered with long white patches of foam lying "
     u"across the direction of the wind; everywhere the edges of the wave crests are blown into "
     u"froth; visibility affected."},
    {u"12", u"Hurricane", u"64 +", u"32.7 +", u"73 +", u"14.0",
     u"The air is filled with foam and spray, sea completely white with driven spray, visibility "
     u"very seriously affected."},
}};

// Pixel sizes of the fonts at 96 dots per inch: 8.25 pt is 11 px, 12.75 pt
// 17 px, 14.25 pt 19 px.
QFont sansFont(int pixels, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("MS Sans Serif")});
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFont serifFont(int pixels, bool underline = false)
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Serif"), QStringLiteral("Times New Roman")});
    font.setPixelSize(pixels);
    font.setBold(true);
    font.setUnderline(underline);
    return font;
}

void setColour(QWidget &widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget.palette();
    palette.setColor(role, colour);
    widget.setPalette(palette);
}

QColor systemColour(QPalette::ColorRole role)
{
    return QApplication::palette().color(QPalette::Active, role);
}

// A rounded rectangle with a solid border inside its bounds, corners rounded
// by a sixth of the shorter side.
class RoundedBox final : public QWidget
{
public:
    RoundedBox(QWidget *parent, QColor fill)
        : QWidget(parent)
        , m_fill(fill)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const double radius = std::min(width(), height()) / 6.0;
        painter.setPen(QPen(systemColour(QPalette::Text), 2));
        painter.setBrush(m_fill);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), radius, radius);
    }

private:
    QColor m_fill;
};

QLabel *addLabel(QWidget *window, const QString &text, QRect geometry, const QFont &font,
                 const QColor &colour)
{
    auto *label = new QLabel(text, window);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    label->setGeometry(geometry);
    label->setFont(font);
    setColour(*label, QPalette::WindowText, colour);
    return label;
}

QComboBox *addBox(QWidget *window, QStringView Row::*column, const QString &shown, QRect geometry,
                  const QString &description)
{
    auto *box = new QComboBox(window);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setMaxVisibleItems(13);
    box->setGeometry(geometry);
    box->setFont(serifFont(19));
    box->setAccessibleDescription(description);
    QStringList entries;
    for (const Row &row : rows)
        entries.append((row.*column).toString());
    box->addItems(entries);
    box->setEditText(shown);
    return box;
}

QPushButton *addButton(QWidget *window, const QString &caption, QRect geometry)
{
    auto *button = new QPushButton(caption, window);
    button->setAutoDefault(true);
    button->setGeometry(geometry);
    button->setFont(sansFont(11, true));
    return button;
}

QIcon windowIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/plain/icons/%1.png").arg(size), QSize(size, size));
    return icon;
}

QPixmap yacht(qreal ratio)
{
    QPixmap picture(ratio > 1.0 ? QStringLiteral(":/plain/drawing/yacht-662x604.png")
                                : QStringLiteral(":/plain/drawing/yacht-331x302.png"),
                    "PNG");
    picture.setDevicePixelRatio(ratio > 1.0 ? 2.0 : 1.0);
    return picture;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Galevane"));
    QGuiApplication::setDesktopFileName(QStringLiteral(GALEVANE_APP_ID));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                              QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QApplication::setFont(sansFont(11, false));

    // A title bar with icon, caption and close box; no minimise or maximise.
    QWidget window(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    window.setWindowTitle(QStringLiteral("Galevane"));
    window.setWindowIcon(windowIcon());
    window.setAutoFillBackground(true);
    setColour(window, QPalette::Window, QColor(lightCyan));
    window.setFixedSize(439, 513);
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect screenArea = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    window.move(screenArea.center() - QPoint(439 / 2, 513 / 2));

    // Back to front: a later child is drawn over an earlier one.
    auto *makerShape = new RoundedBox(&window, QColor(lightYellow));
    makerShape->setGeometry(344, 8, 89, 57);

    auto *picture = new QLabel(&window);
    picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    picture->setGeometry(96, 16, 331, 302);
    picture->setPixmap(yacht(window.devicePixelRatioF()));

    const QColor buttonText = systemColour(QPalette::ButtonText);
    QLabel *forceHeading = addLabel(&window, QStringLiteral("Beaufort Force"), {151, 16, 137, 25},
                                    serifFont(19, true), buttonText);
    QLabel *descriptionHeading = addLabel(&window, QStringLiteral("Description"),
                                          {111, 72, 217, 25}, serifFont(19, true), buttonText);
    QLabel *criterionHeading =
        addLabel(&window, QStringLiteral("Criterion"), {75, 288, 289, 25}, serifFont(19, true),
                 systemColour(QPalette::HighlightedText));
    QLabel *knotsHeading = addLabel(&window, QStringLiteral("Knots"), {16, 144, 120, 25},
                                    serifFont(19, true), QColor(black));
    QLabel *metresHeading = addLabel(&window, QStringLiteral("M/Sec"), {160, 144, 120, 25},
                                     serifFont(19, true), QColor(black));
    QLabel *milesHeading = addLabel(&window, QStringLiteral("Mph"), {296, 144, 120, 25},
                                    serifFont(19, true), QColor(black));
    QLabel *waveHeading = addLabel(&window, QStringLiteral("Wave Height - Mtrs"),
                                   {123, 224, 193, 25}, serifFont(19, true), buttonText);
    QLabel *maker = addLabel(&window, QStringLiteral("\u00a9 Quayforth"), {344, 8, 89, 57},
                             serifFont(19), QColor(darkBlue));
    maker->setAlignment(Qt::AlignCenter);
    maker->setCursor(Qt::PointingHandCursor);
    maker->setToolTip(QStringLiteral("Click"));
    maker->setAccessibleName(QStringLiteral("\u00a9 Quayforth"));

    auto *criterionShape = new RoundedBox(&window, systemColour(QPalette::Base));
    criterionShape->setGeometry(8, 312, 425, 145);
    addLabel(&window, QStringLiteral("www.quayforth.co.uk"), {0, 496, 441, 17}, sansFont(11, true),
             buttonText);

    auto *criterion = new QPlainTextEdit(QStringLiteral("Sea like a mirror"), &window);
    criterion->setWordWrapMode(QTextOption::WordWrap);
    criterion->setTabChangesFocus(true);
    criterion->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    criterion->setGeometry(11, 320, 417, 129);
    criterion->setFont(serifFont(17));
    setColour(*criterion, QPalette::Base, QColor(white));
    setColour(*criterion, QPalette::Text, QColor(red));
    criterion->setAccessibleName(QStringLiteral("Criterion"));

    QPushButton *exitButton = addButton(&window, QStringLiteral("E&xit"), {135, 464, 169, 25});
    QPushButton *helpButton = addButton(&window, QStringLiteral("Help"), {352, 72, 73, 25});
    setColour(*helpButton, QPalette::Button, QColor(red));

    const std::array<QComboBox *, 6> boxes{
        addBox(&window, &Row::force, QStringLiteral("0"), {187, 40, 65, 30},
               QStringLiteral("Beaufort wind force, 0 to 12")),
        addBox(&window, &Row::description, QStringLiteral("Calm"), {123, 96, 193, 30},
               QStringLiteral("Description of the wind")),
        addBox(&window, &Row::knots, QStringLiteral("Less than 1"), {8, 168, 137, 30},
               QStringLiteral("Wind speed in knots")),
        addBox(&window, &Row::metresPerSecond, QStringLiteral("0.0 - 0.2"), {151, 168, 137, 30},
               QStringLiteral("Wind speed in metres per second")),
        addBox(&window, &Row::milesPerHour, QStringLiteral("Less than 1"), {296, 168, 137, 30},
               QStringLiteral("Wind speed in miles per hour")),
        addBox(&window, &Row::waveHeight, QStringLiteral("0.0"), {179, 248, 81, 30},
               QStringLiteral("Probable wave height in metres")),
    };
    QPushButton *areasButton =
        addButton(&window, QStringLiteral("Forecast\nAreas"), {8, 40, 73, 41});
    setColour(*areasButton, QPalette::Button, QColor(magenta));
    areasButton->setAccessibleName(QStringLiteral("Forecast Areas"));

    // Every box holds the same rows, so a pick in one is the same entry in
    // all the others.
    for (QComboBox *picked : boxes) {
        QObject::connect(picked, &QComboBox::activated, picked, [&boxes, criterion](int index) {
            for (QComboBox *box : boxes)
                box->setCurrentIndex(index);
            criterion->setPlainText(rows[std::size_t(index)].criterion.toString());
        });
    }
    QObject::connect(exitButton, &QPushButton::clicked, &window, &QWidget::close);

    forceHeading->setBuddy(boxes[0]);
    descriptionHeading->setBuddy(boxes[1]);
    knotsHeading->setBuddy(boxes[2]);
    metresHeading->setBuddy(boxes[3]);
    milesHeading->setBuddy(boxes[4]);
    waveHeading->setBuddy(boxes[5]);
    criterionHeading->setBuddy(criterion);

    // Force, criterion, Exit, Help, then the other five boxes, then Areas.
    const std::array<QWidget *, 10> tabOrder{boxes[0], criterion,  exitButton, helpButton,
                                             boxes[1], boxes[2],   boxes[3],   boxes[4],
                                             boxes[5], areasButton};
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    boxes[0]->setFocus();

    FirstPaintReporter::watchIfRequested(window);
    window.show();
    window.raise();
    window.activateWindow();
    return QApplication::exec();
}
