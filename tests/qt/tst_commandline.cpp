// The command line: --help and --version, Qt's own options passed through, anything else refused.
#include "commandline.h"

#include <QtTest>

using commandline::Request;

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void argumentsAreReadAsThePlayerMeantThem_data();
    void argumentsAreReadAsThePlayerMeantThem();
};

void TestCommandLine::argumentsAreReadAsThePlayerMeantThem_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("unknown");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("display");
    QTest::newRow("nothing") << QStringList {} << int(Request::Play) << "" << "" << "";
    QTest::newRow("help") << QStringList {"--help"} << int(Request::Help) << "" << "" << "";
    QTest::newRow("version after a Qt option") << QStringList {"-reverse", "--version"} << int(Request::Version)
                                               << "" << "" << "";
    QTest::newRow("platform and display, spaced") << QStringList {"-platform", "xcb", "-display", ":3"}
                                                  << int(Request::Play) << "" << "xcb" << ":3";
    QTest::newRow("double dash and equals") << QStringList {"--platform=offscreen", "-style=fusion"}
                                            << int(Request::Play) << "" << "offscreen" << "";
    QTest::newRow("unknown option") << QStringList {"--frob"} << int(Request::Unknown) << "--frob" << "" << "";
    QTest::newRow("a word, not an option") << QStringList {"level2"} << int(Request::Unknown) << "level2" << ""
                                           << "";
    QTest::newRow("option missing its value") << QStringList {"-platform"} << int(Request::Unknown)
                                              << "-platform" << "" << "";
    QTest::newRow("flag given a value") << QStringList {"-reverse=yes"} << int(Request::Unknown)
                                        << "-reverse=yes" << "" << "";
}

void TestCommandLine::argumentsAreReadAsThePlayerMeantThem()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, kind);
    QFETCH(QString, unknown);
    QFETCH(QString, platform);
    QFETCH(QString, display);
    std::vector<std::string> words;
    for (const QString& argument : arguments)
        words.push_back(argument.toStdString());
    const Request request = commandline::parse(words);
    QCOMPARE(int(request.kind), kind);
    QCOMPARE(QString::fromStdString(request.unknown), unknown);
    QCOMPARE(QString::fromStdString(request.platform), platform);
    QCOMPARE(QString::fromStdString(request.display), display);
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
