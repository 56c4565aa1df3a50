// The application object's handling of the style the desktop names.

#include "qt/startup/application.h"

#include <QTest>

#include <vector>

class tst_Application : public QObject
{
    Q_OBJECT

private slots:
    void styleOptionsAreDropped_data();
    void styleOptionsAreDropped();
};

void tst_Application::styleOptionsAreDropped_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("kept");
    QTest::newRow("none") << QStringList{} << QStringList{};
    QTest::newRow("-style NAME") << QStringList{u"-style"_qs, u"adwaita"_qs} << QStringList{};
    QTest::newRow("--style NAME") << QStringList{u"--style"_qs, u"adwaita"_qs} << QStringList{};
    QTest::newRow("-style=NAME") << QStringList{u"-style=adwaita"_qs} << QStringList{};
    QTest::newRow("--style=NAME") << QStringList{u"--style=Windows"_qs} << QStringList{};
    QTest::newRow("among others") << QStringList{u"-platform"_qs, u"xcb"_qs, u"-style"_qs,
                                                 u"adwaita"_qs, u"-reverse"_qs}
                                  << QStringList{u"-platform"_qs, u"xcb"_qs, u"-reverse"_qs};
    QTest::newRow("without its value") << QStringList{u"-style"_qs} << QStringList{u"-style"_qs};
    QTest::newRow("another option") << QStringList{u"-stylesheet"_qs, u"a.qss"_qs}
                                    << QStringList{u"-stylesheet"_qs, u"a.qss"_qs};
}

void tst_Application::styleOptionsAreDropped()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, kept);
    std::vector<QByteArray> texts{"galevane"};
    for (const QString &argument : arguments)
        texts.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);
    int argc = int(texts.size());

    dropStyleOptions(argc, argv.data());
    QStringList left;
    for (int i = 1; i < argc; ++i)
        left.append(QString::fromLocal8Bit(argv[std::size_t(i)]));
    QCOMPARE(left, kept);
    QCOMPARE(QByteArray(argv[0]), QByteArray("galevane"));
    QCOMPARE(argv[std::size_t(argc)], nullptr);
}

QTEST_MAIN(tst_Application)
#include "tst_application.moc"
