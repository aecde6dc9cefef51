// The programs' command line: what ends the program with which code and
// output, and the connection --server and --serial give for one run.
#include "commandline.h"
#include "language.h"
#include "link.h"

#include <QTextStream>
#include <QTranslator>
#include <QtTest>

using namespace tarvo;

namespace {

ProgramInfo scope()
{
    return {QStringLiteral("TarvoV43"), QStringLiteral("The scope."), {QStringLiteral("ComSettings.cfg")}, true};
}

ProgramInfo tool()
{
    return {QStringLiteral("TarvoTempCompV43"), QStringLiteral("The tool."), {QStringLiteral("IPComboBox.cfg")}, true};
}

struct Parsed {
    CommandLine result;
    QString out;
    QString err;
};

Parsed parse(const ProgramInfo& info, const QStringList& args)
{
    Parsed p;
    QTextStream out(&p.out);
    QTextStream err(&p.err);
    p.result = parseCommandLine(
        QStringList{info.name} + args, info, [] { return QStringLiteral(" the settings paragraph \n"); }, out, err);
    return p;
}

}  // namespace

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void helpAndVersionEndTheProgramWithZero();
    void mistakesEndWithOneLineAndCodeTwo_data();
    void mistakesEndWithOneLineAndCodeTwo();
    void connectionForThisRun_data();
    void connectionForThisRun();
    void languageOfARun_data();
    void languageOfARun();
};

void CommandLineTest::helpAndVersionEndTheProgramWithZero()
{
    const Parsed version = parse(scope(), {QStringLiteral("--version")});
    QCOMPARE(version.result.exitCode, std::optional<int>(0));
    QCOMPARE(version.out, QStringLiteral("TarvoV43 ") + programVersion() + QLatin1Char('\n'));
    QVERIFY(programVersion().startsWith(QLatin1String("4.3.")));

    const Parsed help = parse(scope(), {QStringLiteral("--help")});
    QCOMPARE(help.result.exitCode, std::optional<int>(0));
    QVERIFY(help.out.contains(QLatin1String("--tcp HOST[:PORT]")));
    QVERIFY(help.out.contains(QLatin1String("--serial N")));
    QVERIFY(help.out.contains(QLatin1String("--device PATH")));
    QVERIFY(help.out.contains(QLatin1String("\n  the settings paragraph\n")));
    QVERIFY(help.err.isEmpty());
    const Parsed toolHelp = parse(tool(), {QStringLiteral("-h")});
    QCOMPARE(toolHelp.result.exitCode, std::optional<int>(0));
    QVERIFY(toolHelp.out.contains(QLatin1String("--tcp HOST[:PORT]")));

    // Qt's own options are left for the application object.
    const Parsed qt = parse(scope(),
                            {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("-reverse")});
    QVERIFY(!qt.result.exitCode);
    QVERIFY(qt.err.isEmpty());
}

void CommandLineTest::mistakesEndWithOneLineAndCodeTwo_data()
{
    QTest::addColumn<bool>("forTool");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("named");
    QTest::newRow("unknown option, as typed") << false << QStringList{"--bogus"} << "Unknown option '--bogus'.";
    QTest::newRow("unknown option with a value, one dash")
        << true << QStringList{"-colour=red"} << "Unknown option '-colour'.";
    QTest::newRow("argument") << false << QStringList{"settings.cfg"} << "settings.cfg";
    QTest::newRow("server with an empty port") << false << QStringList{"--server", "sensor:"} << "sensor:";
    QTest::newRow("server port too big") << false << QStringList{"--server", "sensor:65536"} << "sensor:65536";
    QTest::newRow("device without a path") << true << QStringList{"--device", ""} << "--device";
    QTest::newRow("serial 0") << false << QStringList{"--serial", "0"} << "'0'";
    QTest::newRow("serial past the panel's range") << false << QStringList{"--serial", "257"} << "257";
    QTest::newRow("both connections") << true << QStringList{"--device", "/dev/ttyS0", "--server", "a:1"} << "--device";
    QTest::newRow("language neither de nor en") << false << QStringList{"--language", "fr"} << "'fr'";
    QTest::newRow("line end in an option") << false << QStringList{"--col\nour", "--x\r"} << "'--col?our'";
}

void CommandLineTest::mistakesEndWithOneLineAndCodeTwo()
{
    QFETCH(bool, forTool);
    QFETCH(QStringList, args);
    QFETCH(QString, named);
    const ProgramInfo info = forTool ? tool() : scope();
    const Parsed p = parse(info, args);
    QCOMPARE(p.result.exitCode, std::optional<int>(2));
    QVERIFY(p.out.isEmpty());
    QCOMPARE(p.err.count(QLatin1Char('\n')), 1);
    QVERIFY2(p.err.startsWith(info.name + QStringLiteral(": ")), qPrintable(p.err));
    QVERIFY2(p.err.contains(named), qPrintable(p.err));
    QVERIFY2(p.err.endsWith(QStringLiteral(" Try '%1 --help'.\n").arg(info.name)), qPrintable(p.err));
    QVERIFY(!p.result.connection);
}

void CommandLineTest::connectionForThisRun_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("protocol");
    QTest::addColumn<int>("comport");
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("port");
    QTest::newRow("name and port") << QStringList{"--server", "sensor-7.local:10001"} << int(TCPIP) << 1
                                   << "sensor-7.local"
                                   << "10001";
    QTest::newRow("IPv6 in brackets") << QStringList{"--server", "[::1]:4001"} << int(TCPIP) << 1 << "::1"
                                      << "4001";
    QTest::newRow("host alone, the usual port") << QStringList{"--tcp", "sensor-7"} << int(TCPIP) << 1 << "sensor-7"
                                                << "10001";
    QTest::newRow("bare IPv6 address") << QStringList{"--tcp", "::1"} << int(TCPIP) << 1 << "::1"
                                       << "10001";
    QTest::newRow("serial port") << QStringList{"--serial", "3"} << int(RS232) << 3 << ""
                                 << "";
    QTest::newRow("device path") << QStringList{"--device", "/dev/serial/by-id/usb-1"} << int(RS232) << 1 << ""
                                 << "/dev/serial/by-id/usb-1";
}

void CommandLineTest::connectionForThisRun()
{
    QFETCH(QStringList, args);
    QFETCH(int, protocol);
    QFETCH(int, comport);
    QFETCH(QString, server);
    QFETCH(QString, port);
    const Parsed p = parse(scope(), args);
    QVERIFY2(!p.result.exitCode, qPrintable(p.err));
    QVERIFY(p.result.connection);
    QCOMPARE(int(p.result.connection->comprotocol), protocol);
    QCOMPARE(int(p.result.connection->comport), comport);
    QCOMPARE(p.result.connection->ipBuf, server);
    // The port text, or for a device path the path.
    QCOMPARE(protocol == TCPIP ? p.result.connection->portNumStr : p.result.connection->comdevice, port);
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"

void CommandLineTest::languageOfARun_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("chosen");  // kept in the session file
    QTest::addColumn<QString>("system");  // the system's locale
    QTest::addColumn<int>("language");
    const int de = int(Language::German);
    const int en = int(Language::English);
    QTest::newRow("German system") << QStringList{} << ""
                                   << "de_AT" << de;
    QTest::newRow("English system") << QStringList{} << ""
                                    << "en_GB" << en;
    QTest::newRow("neither: English") << QStringList{} << ""
                                      << "fr_FR" << en;
    QTest::newRow("chosen in the program") << QStringList{} << "en"
                                           << "de_DE" << en;
    QTest::newRow("chosen, damaged: the system's") << QStringList{} << "klingon"
                                                   << "de_DE" << de;
    QTest::newRow("--language over the choice") << QStringList{"--language", "DE"} << "en"
                                                << "en_US" << de;
}

void CommandLineTest::languageOfARun()
{
    QFETCH(QStringList, args);
    QFETCH(QString, chosen);
    QFETCH(QString, system);
    QFETCH(int, language);
    const Parsed p = parse(scope(), args);
    QVERIFY(!p.result.exitCode);
    QCOMPARE(int(chooseLanguage(parseLanguage(p.result.language), chosen, QLocale(system))), language);

    // The German texts are compiled into the programs.
    QTranslator german;
    QVERIFY(german.load(QStringLiteral(":/i18n/tarvo_de.qm")));
    QCOMPARE(german.translate("P", "GET"), QStringLiteral("LESEN"));
}
