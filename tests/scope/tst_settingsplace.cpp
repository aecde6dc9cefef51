// Where the scope keeps its settings: beside a copy in a writable folder,
// in the user's own folder for one in a read-only folder; and a connection
// given on the command line that is used for one run and never saved.
#include "combobox.h"
#include "scopefixture.h"
#include "settingslocation.h"
#include "ui_INTERFACEP.h"
#include "ui_P.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

using namespace tarvo;
using tarvo::test::ScopeFixture;

namespace {

QByteArray historyRecord(const QByteArray& server)
{
    return server + QByteArray(100 - server.size(), '\0') + '\n';
}

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Makes a folder read-only for everyone while it lives.
struct ReadOnlyFolder {
    QString path;
    QFile::Permissions before;
    explicit ReadOnlyFolder(const QString& p)
        : path(p)
        , before(QFile::permissions(p))
    {
        QFile::setPermissions(path,
                              QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
                                  | QFile::ExeOther);
    }
    ~ReadOnlyFolder() { QFile::setPermissions(path, before); }
};

}  // namespace

class SettingsPlaceTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void acceptedConnectionIsFoundAfterARestart_data();
    void acceptedConnectionIsFoundAfterARestart();
    void commandLineConnectionIsForThisRunOnly();

private:
    QTemporaryDir m_config;
};

void SettingsPlaceTest::init()
{
    QVERIFY(m_config.isValid());
    QDir(m_config.path()).removeRecursively();
    QDir().mkpath(m_config.path());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
}

void SettingsPlaceTest::acceptedConnectionIsFoundAfterARestart_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("writable folder: beside the program") << false;
    QTest::newRow("read-only folder: in the user's folder") << true;
}

void SettingsPlaceTest::acceptedConnectionIsFoundAfterARestart()
{
    QFETCH(bool, readOnly);
    ScopeFixture f;
    const QString program = f.path(QStringLiteral("program"));
    QVERIFY(QDir().mkpath(program));
    // An older copy's history beside the program: the starting point.
    const QByteArray seededHistory = historyRecord("sensor-line-3");
    QFile seed(QDir(program).filePath(kIpComboBoxFile));
    QVERIFY(seed.open(QIODevice::WriteOnly));
    seed.write(seededHistory);
    seed.close();
    const QString userDir = QDir(m_config.path()).filePath(QStringLiteral("Tarvo/TarvoV43"));
    const QString expectedDir = readOnly ? userDir : program;
    std::optional<ReadOnlyFolder> lock;
    if (readOnly)
        lock.emplace(program);

    ScopeApp& app = f.start(program);
    QCOMPARE(app.settings().settingsDir, expectedDir);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(app.settings().documentsDir,
             readOnly ? (QFileInfo(documents).isDir() ? documents : QDir::homePath()) : program);
    auto& ui = app.interfacepanel().ui();
    QCOMPARE(app.interfacepanel().historyEntries(), QStringList{QStringLiteral("sensor-line-3")});
    // The panel's own right-click help names the folder.
    QTest::mouseClick(ui.DispInterfaceStatus, Qt::RightButton);
    QVERIFY(!f.dialogs->shown.isEmpty());
    QVERIFY2(f.dialogs->shown.last().text.contains(QDir::toNativeSeparators(expectedDir)),
             qPrintable(f.dialogs->shown.last().text));

    // No settings yet: serial port 1 fails; connect over TCP/IP and accept.
    ui.EditCommunicationProtocol->setCurrentIndex(TCPIP);
    app.interfacepanel().CBF_EditCommunicationProtocol();
    ui.StringIpAdress->setText(QStringLiteral("127.0.0.1"));
    app.interfacepanel().CBF_StringIpAdress();
    ui.StringPortNumber->setText(QString::number(f.sensor->tcpPort()));
    QTest::mouseClick(ui.ButtonTryToConnect, Qt::LeftButton);
    QVERIFY(ui.ButtonAccept->isEnabled());
    QTest::mouseClick(ui.ButtonAccept, Qt::LeftButton);
    QVERIFY(!app.interfacepanel().widget()->isVisible());

    f.app.reset();
    ScopeApp& again = f.start(program);
    QVERIFY2(again.panel().ui->DispStatus->text().startsWith(QLatin1String("TARVO")),
             qPrintable(again.panel().ui->DispStatus->text()));
    QCOMPARE(again.interfacepanel().historyEntries(),
             (QStringList{QStringLiteral("127.0.0.1"), QStringLiteral("sensor-line-3")}));
    QCOMPARE(contentOf(QDir(expectedDir).filePath(kConSettingsFile)),
             test::settingsFor(1, 1, QStringLiteral("127.0.0.1"), QString::number(f.sensor->tcpPort())));
    if (readOnly) {
        // Nothing beside the program changed; nothing else was written there.
        QCOMPARE(QDir(program).entryList(QDir::Files | QDir::Hidden), QStringList{kIpComboBoxFile});
        QCOMPARE(contentOf(QDir(program).filePath(kIpComboBoxFile)), seededHistory);
    } else {
        QVERIFY(!QFileInfo::exists(userDir));
    }
}

void SettingsPlaceTest::commandLineConnectionIsForThisRunOnly()
{
    ScopeFixture f;
    f.settingsToNowhere();
    const QByteArray saved = f.readFile(kConSettingsFile);
    f.app = std::make_unique<ScopeApp>(f.dir.path());
    ConnectionSettings server;
    server.comprotocol = TCPIP;
    server.ipBuf = QStringLiteral("127.0.0.1");
    server.portNumStr = QString::number(f.sensor->tcpPort());
    f.app->setConnectionForThisRun(server);
    f.app->panel().widget->show();
    f.app->InitAll();
    QVERIFY(f.app->panel().ui->DispStatus->text().startsWith(QLatin1String("TARVO")));
    QCOMPARE(f.app->panel().ui->DispIpAddress->text(), QStringLiteral("127.0.0.1"));
    QCOMPARE(f.readFile(kConSettingsFile), saved);
    QVERIFY(!QFileInfo::exists(f.path(kIpComboBoxFile)));

    // The next plain start uses the saved settings again.
    f.app.reset();
    ScopeApp& again = f.start();
    QVERIFY(again.panel().ui->DispStatus->text().startsWith(QLatin1String("TIMEOUT: ")));
}

QTEST_MAIN(SettingsPlaceTest)
#include "tst_settingsplace.moc"
