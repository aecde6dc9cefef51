// Which folder a program keeps its settings in, and the first use of the
// user's folder taking over the files beside the program.
#include "settingslocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace tarvo;

namespace {

void writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

const QFile::Permissions kReadOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
    | QFile::ReadOther | QFile::ExeOther;

}  // namespace

class SettingsLocationTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void folderDecidesWhereSettingsLive_data();
    void folderDecidesWhereSettingsLive();
    void userFolderIsTheProgramsAppConfigLocation();
    void firstUseTakesOverTheFilesBesideTheProgramOnce();

private:
    QTemporaryDir m_tmp;
    QString m_config;
};

void SettingsLocationTest::init()
{
    m_config = m_tmp.filePath(QStringLiteral("config-%1").arg(QTest::currentTestFunction()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config));
}

void SettingsLocationTest::folderDecidesWhereSettingsLive_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<bool>("portable");
    QTest::newRow("writable folder") << QStringLiteral("plain") << true;
    QTest::newRow("folder without write permission, even for an administrator") << QStringLiteral("read-only") << false;
    QTest::newRow("installed tree") << QStringLiteral("installed") << false;
    QTest::newRow("installed tree, the user has a Documents folder") << QStringLiteral("installed-documents") << false;
    QTest::newRow("another program's installed tree") << QStringLiteral("other-installed") << true;
    QTest::newRow("application bundle") << QStringLiteral("bundle") << false;
}

void SettingsLocationTest::folderDecidesWhereSettingsLive()
{
    QFETCH(QString, layout);
    QFETCH(bool, portable);
    QTemporaryDir root;
    const QString bin = root.filePath(layout == QLatin1String("bundle") ? QStringLiteral("TarvoV43.app/Contents/MacOS")
                                                                        : QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    const QString applications = root.filePath(QStringLiteral("share/applications"));
    QDir().mkpath(applications);
    // The file dialogs open in the user's Documents folder, or home when there is none.
    const QString home = root.filePath(QStringLiteral("home"));
    QVERIFY(QDir().mkpath(home));
    const QByteArray realHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home));
    const bool documents = layout == QLatin1String("installed-documents");
    if (documents) {
        layout = QStringLiteral("installed");
        QVERIFY(QDir().mkpath(home + QStringLiteral("/Documents")));
    }
    if (layout == QLatin1String("installed"))
        writeFile(QDir(applications).filePath(QStringLiteral("com.tarvo.TarvoV43.desktop")), "[Desktop Entry]\n");
    if (layout == QLatin1String("other-installed"))
        writeFile(QDir(applications).filePath(QStringLiteral("com.tarvo.TarvoTempCompV43.desktop")),
                  "[Desktop Entry]\n");
    if (layout == QLatin1String("read-only"))
        QVERIFY(QFile::setPermissions(bin, kReadOnly));

    const SettingsLocation l = settingsLocation(bin, kScopeProgram);
    qputenv("HOME", realHome);
    QFile::setPermissions(bin, kReadOnly | QFile::WriteOwner);
    QCOMPARE(l.portable, portable);
    QCOMPARE(l.settingsDir, portable ? bin : m_config + QStringLiteral("/Tarvo/TarvoV43"));
    QCOMPARE(l.documentsDir, portable ? bin : documents ? home + QStringLiteral("/Documents") : home);
    // Deciding creates nothing, and the write test leaves nothing behind.
    QVERIFY(!QFileInfo::exists(m_config));
    QCOMPARE(QDir(bin).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    // --help and the right-click help name the folder.
    const QString text = describeSettingsLocation(l, kScopeSettingsFiles);
    QVERIFY(text.contains(QDir::toNativeSeparators(l.settingsDir)));
    QVERIFY(text.contains(QLatin1String("ComSettings.cfg, IPComboBox.cfg and Reconnect.cfg")));
}

void SettingsLocationTest::userFolderIsTheProgramsAppConfigLocation()
{
    const QString org = QCoreApplication::organizationName();
    const QString app = QCoreApplication::applicationName();
    QCoreApplication::setOrganizationName(kOrganization);
    QCoreApplication::setApplicationName(kToolProgram);
    const QString expected = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QCoreApplication::setOrganizationName(org);
    QCoreApplication::setApplicationName(app);
    QCOMPARE(userSettingsDir(kToolProgram), expected);
    QVERIFY(userSettingsDir(kScopeProgram) != expected);  // each program its own
}

void SettingsLocationTest::firstUseTakesOverTheFilesBesideTheProgramOnce()
{
    QTemporaryDir program;
    writeFile(program.filePath(kConSettingsFile), "1\n1\nold-server\n10001\n");
    QVERIFY(QFile::setPermissions(program.filePath(kConSettingsFile), QFile::ReadOwner | QFile::ReadOther));
    QVERIFY(QFile::setPermissions(program.path(), kReadOnly));
    const SettingsLocation l = settingsLocation(program.path(), kScopeProgram);
    QFile::setPermissions(program.path(), kReadOnly | QFile::WriteOwner);
    QVERIFY(!l.portable);

    QVERIFY(prepareSettingsLocation(l, kScopeSettingsFiles));
    QCOMPARE(readFile(l.filePath(kConSettingsFile)), QByteArray("1\n1\nold-server\n10001\n"));
    QVERIFY(QFile::permissions(l.filePath(kConSettingsFile)) & QFile::WriteOwner);
    QVERIFY(!QFileInfo::exists(l.filePath(kIpComboBoxFile)));  // none beside, none made up

    // The user's own changes win over the files beside the program from then on.
    writeFile(l.filePath(kConSettingsFile), "0\n4\n\n\n");
    writeFile(program.filePath(kIpComboBoxFile), QByteArray(100, '\0') + '\n');
    QVERIFY(prepareSettingsLocation(l, kScopeSettingsFiles));
    QCOMPARE(readFile(l.filePath(kConSettingsFile)), QByteArray("0\n4\n\n\n"));
    QVERIFY(QFileInfo::exists(l.filePath(kIpComboBoxFile)));
}

QTEST_GUILESS_MAIN(SettingsLocationTest)
#include "tst_settingslocation.moc"
