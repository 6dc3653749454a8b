#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

// Both programs answer --help and --version and refuse anything else, without a display.
class CommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void answersAndRefusals_data();
    void answersAndRefusals();
};

void CommandLineTest::answersAndRefusals_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("error");

    const QString tavring = QStringLiteral(TAVRING_EXE);
    const QString ventaro = QStringLiteral(VENTARO_EXE);
    const QString version = QStringLiteral(TAVRING_VERSION).replace(u'.', u"\\."_s);
    QTest::newRow("tavring --version") << tavring << QStringList{u"--version"_s} << 0
                                       << u"^tavring "_s + version + u"\n$"_s << u"^$"_s;
    QTest::newRow("tavring -v") << tavring << QStringList{u"-v"_s} << 0 << u"^tavring "_s + version << u"^$"_s;
    QTest::newRow("tavring --help") << tavring << QStringList{u"--help"_s} << 0
                                    << u"Usage: .*tavring \\[options\\].*test\\.ini.*--version"_s << u"^$"_s;
    QTest::newRow("tavring -h") << tavring << QStringList{u"-h"_s} << 0 << u"--help"_s << u"^$"_s;
    QTest::newRow("ventaro --version") << ventaro << QStringList{u"--version"_s} << 0
                                       << u"^ventaro "_s + version + u"\n$"_s << u"^$"_s;
    QTest::newRow("ventaro --help") << ventaro << QStringList{u"--help"_s} << 0
                                    << u"Usage: .*ventaro \\[options\\].*scrrun\\.dll"_s << u"^$"_s;
    QTest::newRow("unknown option") << tavring << QStringList{u"--exam=b/x"_s} << 2 << u"^$"_s
                                    << u"^tavring: Unknown option 'exam'.*--help"_s;
    QTest::newRow("an argument") << ventaro << QStringList{u"scrrun.dll"_s} << 2 << u"^$"_s
                                 << u"^ventaro: Unexpected argument: scrrun\\.dll"_s;
    QTest::newRow("help with an unknown option") << tavring << QStringList{u"--help"_s, u"-x"_s} << 2
                                                 << u"^$"_s << u"Unknown option 'x'"_s;
}

void CommandLineTest::answersAndRefusals()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, error);

    // No display at all: a program that made a window here would fail to start.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
        environment.remove(name);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    const QString stdOut = QString::fromLocal8Bit(process.readAllStandardOutput());
    const QString stdErr = QString::fromLocal8Bit(process.readAllStandardError());
    QCOMPARE(process.exitCode(), exitCode);
    const auto dotAll = QRegularExpression::DotMatchesEverythingOption;
    QVERIFY2(QRegularExpression(output, dotAll).match(stdOut).hasMatch(), qPrintable(stdOut));
    QVERIFY2(QRegularExpression(error, dotAll).match(stdErr).hasMatch(), qPrintable(stdErr));
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_command_line.moc"
