// The choice of window system, and the one line that says none can be reached.

#include "qt/startup/displaycheck.h"

#include <QDir>
#include <QFile>
#include <QLibraryInfo>
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
    void waylandWithoutItsPluginTurnsToX11_data();
    void waylandWithoutItsPluginTurnsToX11();
    void missingWaylandPluginIsNamed_data();
    void missingWaylandPluginIsNamed();
    void answeringWaylandNeedsItsPlugin();
    void waylandPluginIsFoundByFileName();
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

// The first X display number from 59 up that no local X server holds.
QString absentXDisplay()
{
    int number = 59;
    while (QFile::exists(u"/tmp/.X%1-lock"_qs.arg(number)) ||
           QFile::exists(u"/tmp/.X11-unix/X%1"_qs.arg(number)))
        ++number;
    return u":%1"_qs.arg(number);
}

// A compositor stand-in: a socket listening where a compositor's would,
// closed again with the object.
class ListeningSocket
{
public:
    explicit ListeningSocket(const QString &socketPath)
    {
        const QByteArray path = QFile::encodeName(socketPath);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (std::size_t(path.size()) >= sizeof address.sun_path)
            return;
        std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
        m_fd = socket(AF_UNIX, SOCK_STREAM, 0);
        m_listens = m_fd >= 0 &&
                    bind(m_fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0 &&
                    listen(m_fd, 1) == 0;
    }
    ~ListeningSocket()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    Q_DISABLE_COPY_MOVE(ListeningSocket)

    [[nodiscard]] bool listens() const { return m_listens; }

private:
    int m_fd = -1;
    bool m_listens = false;
};

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
    // Named but perhaps unreachable: left to decideDisplay's connection check.
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

void tst_DisplayCheck::waylandWithoutItsPluginTurnsToX11_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("x11");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<QString>("sessionType");
    QTest::addColumn<QString>("preferred");

    QTest::newRow("Wayland display announced, no X display")
        << QString() << QString() << u"wayland-0"_qs << QString() << u"xcb"_qs;
    QTest::newRow("Wayland display announced with XWayland")
        << QString() << u":0"_qs << u"wayland-0"_qs << QString() << u"xcb"_qs;
    QTest::newRow("Wayland session announced")
        << QString() << u":0"_qs << QString() << u"wayland"_qs << u"xcb"_qs;
    QTest::newRow("Wayland chosen with XWayland")
        << u"wayland"_qs << u":0"_qs << u"wayland-0"_qs << QString() << u"xcb"_qs;
    QTest::newRow("Wayland chosen, no X display")
        << u"wayland"_qs << QString() << QString() << QString() << u"xcb"_qs;
    QTest::newRow("Wayland with EGL chosen")
        << u"wayland-egl"_qs << u":0"_qs << QString() << QString() << u"xcb"_qs;
    QTest::newRow("Wayland, then X11 chosen")
        << u"wayland;xcb"_qs << u":0"_qs << QString() << QString() << u"xcb"_qs;
    // Qt falls back to offscreen by itself; the user's list is kept.
    QTest::newRow("Wayland, then offscreen chosen")
        << u"wayland;offscreen"_qs << u":0"_qs << QString() << QString() << QString();
    QTest::newRow("X11 only") << QString() << u":0"_qs << QString() << QString() << QString();
    QTest::newRow("X11 chosen") << u"xcb"_qs << u":0"_qs << u"wayland-0"_qs << QString()
                                << QString();
    QTest::newRow("offscreen") << u"offscreen"_qs << QString() << u"wayland-0"_qs << QString()
                               << QString();
}

void tst_DisplayCheck::waylandWithoutItsPluginTurnsToX11()
{
    QFETCH(QString, platform);
    QFETCH(QString, x11);
    QFETCH(QString, wayland);
    QFETCH(QString, sessionType);
    QFETCH(QString, preferred);
    DisplayEnvironment env{platform, x11, wayland, u"/run/user/0"_qs, sessionType};
    env.waylandPluginInstalled = false;
    QCOMPARE(preferredPlatform(env), preferred);
    // Every Wayland display Qt would try is marked as unusable.
    for (const DisplayServer &server : displayServersToTry(env))
        QCOMPARE(server.pluginMissing, server.protocol == DisplayProtocol::Wayland);
}

void tst_DisplayCheck::missingWaylandPluginIsNamed_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("x11");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<QString>("message");

    const QString absent = absentXDisplay();
    const QString advice = u"; to run without a screen use: xvfb-run -a build/app/galevane"_qs;
    const QString noPlugin =
        u" without Qt's Wayland plugin (not installed: Debian package qt6-wayland)"_qs;
    QTest::newRow("Wayland display announced, no X display")
        << QString() << QString() << u"wayland-3"_qs
        << u"galevane: cannot reach the Wayland display \"wayland-3\" at RUN/wayland-3"_qs +
               noPlugin + u" nor the X display (DISPLAY is not set)"_qs + advice;
    QTest::newRow("Wayland chosen, no X display")
        << u"wayland"_qs << QString() << QString()
        << u"galevane: cannot reach the Wayland display \"wayland-0\" at RUN/wayland-0"_qs +
               noPlugin + u" nor the X display (DISPLAY is not set)"_qs + advice;
    QTest::newRow("Wayland chosen, X display not answering")
        << u"wayland"_qs << absent << QString()
        << u"galevane: cannot reach the Wayland display \"wayland-0\" at RUN/wayland-0"_qs +
               noPlugin + u" nor the X display \""_qs + absent + u"\""_qs + advice;
    QTest::newRow("Wayland display announced, X display not answering")
        << QString() << absent << u"wayland-3"_qs
        << u"galevane: cannot reach the Wayland display \"wayland-3\" at RUN/wayland-3"_qs +
               noPlugin + u" nor the X display \""_qs + absent + u"\""_qs + advice;
}

void tst_DisplayCheck::missingWaylandPluginIsNamed()
{
    QFETCH(QString, platform);
    QFETCH(QString, x11);
    QFETCH(QString, wayland);
    QFETCH(QString, message);
    const QTemporaryDir runtimeDir;
    QVERIFY(runtimeDir.isValid());
    DisplayEnvironment env{platform, x11, wayland, runtimeDir.path()};
    env.waylandPluginInstalled = false;
    const DisplayDecision decision = decideDisplay(env, u"build/app/galevane"_qs);
    QVERIFY(!decision.problem.contains(u'\n'));
    QCOMPARE(decision.problem, message.replace(u"RUN"_qs, runtimeDir.path()));
    QCOMPARE(decision.platform, QString());
}

void tst_DisplayCheck::answeringWaylandNeedsItsPlugin()
{
    const QTemporaryDir runtimeDir;
    QVERIFY(runtimeDir.isValid());
    const ListeningSocket compositor(runtimeDir.filePath(u"wayland-4"_qs));
    QVERIFY(compositor.listens());
    DisplayEnvironment env{QString(), QString(), u"wayland-4"_qs, runtimeDir.path()};

    // With its plugin, Qt starts on the Wayland display, as it chooses.
    DisplayDecision decision = decideDisplay(env, u"galevane"_qs);
    QCOMPARE(decision.problem, QString());
    QCOMPARE(decision.platform, QString());
    // The same where an X display is announced but does not answer.
    env.x11Display = absentXDisplay();
    decision = decideDisplay(env, u"galevane"_qs);
    QCOMPARE(decision.problem, QString());
    QCOMPARE(decision.platform, QString());

    // Without it, the answering display is of no use: one line names the
    // missing package and the X display tried instead.
    env.x11Display.clear();
    env.waylandPluginInstalled = false;
    decision = decideDisplay(env, u"galevane"_qs);
    QVERIFY(decision.problem.contains(u"Debian package qt6-wayland"));
    QVERIFY(decision.problem.contains(u"nor the X display (DISPLAY is not set)"));
    QVERIFY(decision.problem.contains(runtimeDir.filePath(u"wayland-4"_qs)));
    QVERIFY(!decision.problem.contains(u'\n'));
    env.platform = u"wayland"_qs;
    decision = decideDisplay(env, u"galevane"_qs);
    QVERIFY(decision.problem.contains(u"Debian package qt6-wayland"));
    QVERIFY(!decision.problem.contains(u'\n'));
}

void tst_DisplayCheck::waylandPluginIsFoundByFileName()
{
    const QTemporaryDir plugins;
    QVERIFY(plugins.isValid());
    const QString platforms = plugins.filePath(u"platforms"_qs);
    QVERIFY(QDir().mkpath(platforms));
    const auto touch = [](const QString &path) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly);
    };

    QVERIFY(!holdsWaylandPlugin({platforms}));
    QVERIFY(touch(platforms + u"/libqxcb.so"_qs));
    QVERIFY(touch(platforms + u"/libqwayland-generic.so.debug"_qs));
    QVERIFY(!holdsWaylandPlugin({platforms}));
    QVERIFY(touch(platforms + u"/libqwayland-egl.so"_qs));
    QVERIFY(holdsWaylandPlugin({platforms}));
    QVERIFY(holdsWaylandPlugin({plugins.filePath(u"missing"_qs), platforms}));

    // Where Qt looks: the platform plugin path as it is, then the
    // "platforms" folder of each QT_PLUGIN_PATH entry, of Qt's own plugin
    // folder and of the program's folder.
    const QStringList folders = platformPluginFolders(u"/opt/p"_qs, u"/a:/b"_qs, u"/bin"_qs);
    const QString qtPlatforms = QLibraryInfo::path(QLibraryInfo::PluginsPath) + u"/platforms"_qs;
    QCOMPARE(folders, (QStringList{u"/opt/p"_qs, u"/a/platforms"_qs, u"/b/platforms"_qs,
                                   qtPlatforms, u"/bin/platforms"_qs}));
    QCOMPARE(platformPluginFolders(QString(), QString(), QString()), QStringList{qtPlatforms});

    // The command line's platform plugin path wins over the environment's.
    DisplayEnvironment env;
    env.platformPluginPath = u"/from/environment"_qs;
    env.applyQtOptions({u"-platformpluginpath"_qs, u"/from/options"_qs});
    QCOMPARE(env.platformPluginPath, u"/from/options"_qs);
}

QTEST_MAIN(tst_DisplayCheck)
#include "tst_displaycheck.moc"
