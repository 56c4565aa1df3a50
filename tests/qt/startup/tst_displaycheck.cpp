// The choice of window system, and the one line that says none can be reached.

#include "qt/startup/displaycheck.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

class tst_DisplayCheck : public QObject
{
    Q_OBJECT

private slots:
    void noDisplayGivesOneClearLine_data();
    void noDisplayGivesOneClearLine();
    void qtOptionsWinOverTheEnvironment_data();
    void qtOptionsWinOverTheEnvironment();
    void displayServersFollowQtsOrder_data();
    void displayServersFollowQtsOrder();
    void unreachableDisplayGivesOneClearLine_data();
    void unreachableDisplayGivesOneClearLine();
    void waylandSocketIsConnectedTo();
    void absentXServerIsNotReached();
};

namespace {

// A display server as the rows below write it: "x11 :59",
// "wayland wayland-0 /run/user/1000/wayland-0".
QString described(const DisplayServer &server)
{
    if (server.protocol == DisplayProtocol::X11)
        return u"x11 "_qs + server.name;
    return u"wayland "_qs + server.name + u' ' + server.socketPath;
}

} // namespace

void tst_DisplayCheck::noDisplayGivesOneClearLine_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("x11");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("preferred");

    QTest::newRow("nothing") << QString() << QString() << QString() << true << QString();
    QTest::newRow("X11") << QString() << u":0"_qs << QString() << false << QString();
    QTest::newRow("Wayland only") << QString() << QString() << u"wayland-0"_qs << false
                                  << QString();
    QTest::newRow("Wayland with XWayland")
        << QString() << u":0"_qs << u"wayland-0"_qs << false << u"xcb"_qs;
    QTest::newRow("user's choice wins")
        << u"wayland"_qs << u":0"_qs << u"wayland-0"_qs << false << QString();
    QTest::newRow("offscreen") << u"offscreen"_qs << QString() << QString() << false << QString();
    // Named but perhaps unreachable: left to displayProblem's connection check.
    QTest::newRow("X display named") << QString() << u":59"_qs << QString() << false << QString();
    QTest::newRow("Wayland chosen, no display named")
        << u"wayland"_qs << QString() << QString() << false << QString();
}

void tst_DisplayCheck::noDisplayGivesOneClearLine()
{
    QFETCH(QString, platform);
    QFETCH(QString, x11);
    QFETCH(QString, wayland);
    QFETCH(bool, refused);
    QFETCH(QString, preferred);
    const DisplayEnvironment env{platform, x11, wayland};
    const QString message = missingDisplayMessage(env, u"build/app/galevane"_qs);
    QCOMPARE(!message.isEmpty(), refused);
    if (refused) {
        QVERIFY(!message.contains(u'\n'));
        QVERIFY(message.endsWith(u"xvfb-run -a build/app/galevane"));
    }
    QCOMPARE(preferredPlatform(env), preferred);
}

void tst_DisplayCheck::qtOptionsWinOverTheEnvironment_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("x11");

    QTest::newRow("no options") << QStringList() << u"xcb"_qs << u":0"_qs;
    QTest::newRow("-platform") << QStringList{u"-platform"_qs, u"offscreen"_qs} << u"offscreen"_qs
                               << u":0"_qs;
    QTest::newRow("--platform") << QStringList{u"--platform"_qs, u"wayland"_qs} << u"wayland"_qs
                                << u":0"_qs;
    QTest::newRow("-display") << QStringList{u"-display"_qs, u":7"_qs} << u"xcb"_qs << u":7"_qs;
    QTest::newRow("--display") << QStringList{u"--display"_qs, u":7"_qs} << u"xcb"_qs << u":7"_qs;
    QTest::newRow("last one wins")
        << QStringList{u"-platform"_qs, u"wayland"_qs, u"-platform"_qs, u"minimal"_qs}
        << u"minimal"_qs << u":0"_qs;
    QTest::newRow("option without a value")
        << QStringList{u"-platform"_qs} << u"xcb"_qs << u":0"_qs;
    QTest::newRow("not Qt's spelling")
        << QStringList{u"-platform=offscreen"_qs, u"---display"_qs, u":7"_qs} << u"xcb"_qs
        << u":0"_qs;
}

void tst_DisplayCheck::qtOptionsWinOverTheEnvironment()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, platform);
    QFETCH(QString, x11);
    DisplayEnvironment env{u"xcb"_qs, u":0"_qs, u"wayland-0"_qs};
    env.applyQtOptions(arguments);
    QCOMPARE(env.platform, platform);
    QCOMPARE(env.x11Display, x11);
    QCOMPARE(env.waylandDisplay, u"wayland-0"_qs);
}

void tst_DisplayCheck::displayServersFollowQtsOrder_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("x11");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<QString>("runtimeDir");
    QTest::addColumn<QString>("sessionType");
    QTest::addColumn<bool>("socketGiven");
    QTest::addColumn<QStringList>("servers");

    const QString run = u"/run/user/1000"_qs;
    QTest::newRow("X11 by default") << QString() << u":59"_qs << QString() << run << QString()
                                    << false << QStringList{u"x11 :59"_qs};
    QTest::newRow("X11 chosen") << u"xcb"_qs << u":59"_qs << u"wayland-0"_qs << run << QString()
                                << false << QStringList{u"x11 :59"_qs};
    QTest::newRow("X11 chosen in capitals") << u"XCB"_qs << u":59"_qs << QString() << run
                                            << QString() << false << QStringList{u"x11 :59"_qs};
    QTest::newRow("X11 with plugin arguments")
        << u"xcb:nograb"_qs << u"remote:3.0"_qs << QString() << run << QString() << false
        << QStringList{u"x11 remote:3.0"_qs};
    QTest::newRow("Wayland chosen, default socket")
        << u"wayland"_qs << QString() << QString() << run << QString() << false
        << QStringList{u"wayland wayland-0 /run/user/1000/wayland-0"_qs};
    QTest::newRow("Wayland chosen, named socket")
        << u"wayland"_qs << u":0"_qs << u"wayland-5"_qs << run << QString() << false
        << QStringList{u"wayland wayland-5 /run/user/1000/wayland-5"_qs};
    QTest::newRow("Wayland with EGL")
        << u"wayland-egl"_qs << QString() << QString() << run << QString() << false
        << QStringList{u"wayland wayland-0 /run/user/1000/wayland-0"_qs};
    QTest::newRow("Wayland socket by absolute path")
        << u"wayland"_qs << QString() << u"/tmp/compositor/socket"_qs << QString() << QString()
        << false << QStringList{u"wayland /tmp/compositor/socket /tmp/compositor/socket"_qs};
    QTest::newRow("Wayland without a runtime folder")
        << u"wayland"_qs << QString() << QString() << QString() << QString() << false
        << QStringList{u"wayland wayland-0 "_qs};
    QTest::newRow("Wayland display announced, no X display")
        << QString() << QString() << u"wayland-1"_qs << run << QString() << false
        << QStringList{u"wayland wayland-1 /run/user/1000/wayland-1"_qs, u"x11 "_qs};
    QTest::newRow("Wayland session announced")
        << QString() << u":59"_qs << QString() << run << u"wayland"_qs << false
        << QStringList{u"wayland wayland-0 /run/user/1000/wayland-0"_qs, u"x11 :59"_qs};
    QTest::newRow("X11 session") << QString() << u":59"_qs << QString() << run << u"x11"_qs << false
                                 << QStringList{u"x11 :59"_qs};
    QTest::newRow("list of two display servers")
        << u"wayland;xcb"_qs << u":59"_qs << QString() << run << QString() << false
        << QStringList{u"wayland wayland-0 /run/user/1000/wayland-0"_qs, u"x11 :59"_qs};
    QTest::newRow("open Wayland connection handed over")
        << u"wayland"_qs << QString() << QString() << run << QString() << true << QStringList();
    QTest::newRow("offscreen") << u"offscreen"_qs << u":59"_qs << QString() << run << QString()
                               << false << QStringList();
    QTest::newRow("minimal") << u"minimal"_qs << u":59"_qs << QString() << run << QString() << false
                             << QStringList();
    QTest::newRow("vnc with arguments") << u"vnc:size=800x600"_qs << u":59"_qs << QString() << run
                                        << QString() << false << QStringList();
    QTest::newRow("X11 falling back to offscreen") << u"xcb;offscreen"_qs << u":59"_qs << QString()
                                                   << run << QString() << false << QStringList();
    QTest::newRow("unknown platform")
        << u"cocoa"_qs << u":59"_qs << QString() << run << QString() << false << QStringList();
}

void tst_DisplayCheck::displayServersFollowQtsOrder()
{
    QFETCH(QString, platform);
    QFETCH(QString, x11);
    QFETCH(QString, wayland);
    QFETCH(QString, runtimeDir);
    QFETCH(QString, sessionType);
    QFETCH(bool, socketGiven);
    QFETCH(QStringList, servers);
    const DisplayEnvironment env{platform, x11, wayland, runtimeDir, sessionType, socketGiven};
    QStringList got;
    for (const DisplayServer &server : displayServersToTry(env))
        got.append(described(server));
    QCOMPARE(got, servers);
}

void tst_DisplayCheck::unreachableDisplayGivesOneClearLine_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("x11");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<QString>("runtimeDir");
    QTest::addColumn<QString>("message");

    const QString advice = u"; to run without a screen use: xvfb-run -a build/app/galevane"_qs;
    const QString xcbAdvice =
        u"; to run without a screen use: QT_QPA_PLATFORM=xcb xvfb-run -a build/app/galevane"_qs;
    QTest::newRow("unreachable X display")
        << QString() << u":59"_qs << QString() << u"/run/user/0"_qs
        << u"galevane: cannot reach the X display \":59\""_qs + advice;
    QTest::newRow("unreachable X display chosen")
        << u"xcb"_qs << u"localhost:12"_qs << u"wayland-0"_qs << u"/run/user/0"_qs
        << u"galevane: cannot reach the X display \"localhost:12\""_qs + advice;
    QTest::newRow("unreachable Wayland display")
        << u"wayland"_qs << QString() << QString() << u"/tmp/empty"_qs
        << u"galevane: cannot reach the Wayland display \"wayland-0\" at /tmp/empty/wayland-0"_qs +
               xcbAdvice;
    QTest::newRow("Wayland without a runtime folder")
        << u"wayland"_qs << QString() << u"wayland-2"_qs << QString()
        << u"galevane: cannot reach the Wayland display \"wayland-2\" (XDG_RUNTIME_DIR is not "
           u"set)"_qs +
               xcbAdvice;
    QTest::newRow("unreachable Wayland display, then no X display")
        << QString() << QString() << u"wayland-1"_qs << u"/run/user/0"_qs
        << u"galevane: cannot reach the Wayland display \"wayland-1\" at "
           u"/run/user/0/wayland-1 nor the X display (DISPLAY is not set)"_qs +
               advice;
}

void tst_DisplayCheck::unreachableDisplayGivesOneClearLine()
{
    QFETCH(QString, platform);
    QFETCH(QString, x11);
    QFETCH(QString, wayland);
    QFETCH(QString, runtimeDir);
    QFETCH(QString, message);
    const DisplayEnvironment env{platform, x11, wayland, runtimeDir};
    const QList<DisplayServer> servers = displayServersToTry(env);
    QVERIFY(!servers.isEmpty());
    const QString line = unreachableDisplayMessage(servers, u"build/app/galevane"_qs);
    QVERIFY(!line.contains(u'\n'));
    QCOMPARE(line, message);
}

void tst_DisplayCheck::waylandSocketIsConnectedTo()
{
    const QTemporaryDir runtimeDir;
    QVERIFY(runtimeDir.isValid());
    const DisplayEnvironment env{u"wayland"_qs, QString(), u"wayland-7"_qs, runtimeDir.path()};
    const QList<DisplayServer> servers = displayServersToTry(env);
    QCOMPARE(servers.size(), 1);
    const DisplayServer &server = servers.first();
    QCOMPARE(server.socketPath, runtimeDir.filePath(u"wayland-7"_qs));
    QVERIFY(!canReachDisplay(server));

    // A compositor stand-in: a listening socket where the compositor's is.
    const QByteArray path = QFile::encodeName(server.socketPath);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    QVERIFY(std::size_t(path.size()) < sizeof address.sun_path);
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    const int listening = socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(listening >= 0);
    const bool bound =
        bind(listening, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    const bool listens = bound && listen(listening, 1) == 0;
    const bool reached = listens && canReachDisplay(server);
    close(listening);
    QVERIFY(listens);
    QVERIFY(reached);

    // Left behind by a compositor that is gone: nobody listens any more.
    QVERIFY(QFile::exists(server.socketPath));
    QVERIFY(!canReachDisplay(server));
    QVERIFY(!canReachDisplay({DisplayProtocol::Wayland, u"wayland-7"_qs, QString()}));
}

void tst_DisplayCheck::absentXServerIsNotReached()
{
#ifndef GALEVANE_HAVE_XCB
    QSKIP("built without libxcb: X displays are not checked");
#else
    // The first display number from 59 up that no local X server holds.
    int number = 59;
    while (QFile::exists(u"/tmp/.X%1-lock"_qs.arg(number)) ||
           QFile::exists(u"/tmp/.X11-unix/X%1"_qs.arg(number)))
        ++number;
    QVERIFY(!canReachDisplay({DisplayProtocol::X11, u":%1"_qs.arg(number), QString()}));
#endif
}

QTEST_MAIN(tst_DisplayCheck)
#include "tst_displaycheck.moc"
