// The configuration load of the login window's creation, against the reference server.
#include "GuiTestMain.h"
#include "ServiceTarget.h"
#include "TestServer.h"

#include "app/UnitGlouble.h"
#include "service/ServiceSettings.h"
#include "startup/UnitLogin.h"
#include "ui/ErrorReport.h"
#include "ui/MessageBoxes.h"

#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {
const auto missing = QStringLiteral("系统错误，请在后台先维护系统配置信息！");
const auto unavailable = QStringLiteral("系统错误，没有获取到系统配置信息！");
} // namespace

class TestConfiguration : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServer> server;

    // The message the creation showed, or empty when it showed none.
    QString createLoginWindow(std::unique_ptr<TFrmLogin> &window)
    {
        MessageBoxRecorder::clear();
        window = std::make_unique<TFrmLogin>();
        const auto shown = MessageBoxRecorder::shown();
        if (shown.isEmpty())
            return QString();
        // Anything else than one error box shows as a message no row expects.
        if (shown.size() != 1 || shown[0].caption != QStringLiteral("系统错误！")
            || shown[0].icon != BoxIcon::Error)
            return QStringLiteral("unexpected boxes");
        // The first line is the designed message; details may follow it.
        return shown[0].text.section(u'\n', 0, 0);
    }

    static void writeSettings(const QString &path, const QString &base)
    {
        QDir().mkpath(QFileInfo(path).path());
        QSettings file(path, QSettings::IniFormat);
        file.clear();
        if (!base.isEmpty())
            file.setValue(QStringLiteral("server/base"), base);
        file.sync();
    }

private Q_SLOTS:
    void init()
    {
        resetClientGlobals();
        MessageBoxRecorder::start();
        server = std::make_unique<TestServer>();
        QVERIFY2(server->isRunning(), qPrintable(server->errorText()));
        pointClientAt(server->baseUrl());
    }

    void cleanup()
    {
        MessageBoxRecorder::stop();
        server.reset();
    }

    void loadsEverything()
    {
        server->command(QStringLiteral("config"),
                        {QStringLiteral("gpsysname=金股预警"), QStringLiteral("syszjxx=欢迎使用"),
                         QStringLiteral("kfqq=800123"), QStringLiteral("yhqyhyfj=True"),
                         QStringLiteral("ifctzqd=0"), QStringLiteral("hqurl= http://example.com/ "),
                         QStringLiteral("khdsxsj= 7 "), QStringLiteral("sytsxx=请使用正式账号登录"),
                         QStringLiteral("an3mc=私募绝密"), QStringLiteral("an3url=http://x/3"),
                         QStringLiteral("an3xs= 0 "), QStringLiteral("an11xs=1")});
        std::unique_ptr<TFrmLogin> window;
        QCOMPARE(createLoginWindow(window), QString());
        QCOMPARE(gpsysname, QStringLiteral("金股预警"));
        QCOMPARE(syszjxx, QStringLiteral("欢迎使用"));
        QCOMPARE(kfqq, QStringLiteral("800123"));
        QVERIFY(yhqyhyfj);
        QVERIFY(!ifctzqd);
        QCOMPARE(hqurl, QStringLiteral("http://example.com/"));
        QCOMPARE(khdsxsj, 7);
        QCOMPARE(an3mc, QStringLiteral("私募绝密"));
        QCOMPARE(an3url, QStringLiteral("http://x/3"));
        QCOMPARE(an3xs, QStringLiteral("0"));
        QCOMPARE(an11xs, QStringLiteral("1"));
        QCOMPARE(window->windowTitle(), QStringLiteral("金股预警 登录窗体"));
        QCOMPARE(generalErrorCaption(), QStringLiteral("金股预警"));
        // Not as Qt's display name, which X11 window titles would then all carry.
        QVERIFY(QGuiApplication::applicationDisplayName() != QStringLiteral("金股预警"));
        QTRY_COMPARE(window->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"))->toPlainText(),
                     QStringLiteral("请使用正式账号登录"));
        QVERIFY(changeCounters.isEmpty());
    }

    void levelFlag_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("expected"); // -1: the load fails
        QTest::newRow("1") << QStringLiteral("1") << 1;
        QTest::newRow("0") << QStringLiteral("0") << 0;
        QTest::newRow("false") << QStringLiteral("false") << 0;
        QTest::newRow("TRUE") << QStringLiteral("TRUE") << 1;
        QTest::newRow("empty") << QString() << -1;
        QTest::newRow("yes") << QStringLiteral("yes") << -1;
    }

    void levelFlag()
    {
        QFETCH(QString, value);
        QFETCH(int, expected);
        server->command(QStringLiteral("config"), {QStringLiteral("yhqyhyfj=") + value});
        std::unique_ptr<TFrmLogin> window;
        const QString message = createLoginWindow(window);
        if (expected < 0) {
            QCOMPARE(message, unavailable);
            QCOMPARE(window->exec(), int(QDialog::Rejected));
        } else {
            QCOMPARE(message, QString());
            QCOMPARE(yhqyhyfj, expected == 1);
        }
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("configArguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("no configuration row")
            << QStringList {QStringLiteral("--delete-config")} << missing;
        QTest::newRow("no toolbar row")
            << QStringList {QStringLiteral("--delete-toolbar")} << missing;
        QTest::newRow("interval empty") << QStringList {QStringLiteral("khdsxsj=")} << unavailable;
        QTest::newRow("interval abc") << QStringList {QStringLiteral("khdsxsj=abc")} << unavailable;
        QTest::newRow("interval null")
            << QStringList {QStringLiteral("--null"), QStringLiteral("khdsxsj")} << unavailable;
        QTest::newRow("top flag null")
            << QStringList {QStringLiteral("--null"), QStringLiteral("ifctzqd")} << unavailable;
    }

    void failures()
    {
        QFETCH(QStringList, configArguments);
        QFETCH(QString, message);
        server->command(QStringLiteral("config"), configArguments);
        QVERIFY(server->lastCommandOk());
        std::unique_ptr<TFrmLogin> window;
        QCOMPARE(createLoginWindow(window), message);
        // The window closes by itself with Cancel, without ever being shown.
        QCOMPARE(window->exec(), int(QDialog::Rejected));
        QVERIFY(!window->isVisible());
    }

    void missingToolbarAfterCaptionWasSet()
    {
        server->command(QStringLiteral("config"),
                        {QStringLiteral("gpsysname=甲"), QStringLiteral("--delete-toolbar")});
        std::unique_ptr<TFrmLogin> window;
        QCOMPARE(createLoginWindow(window), missing);
        QCOMPARE(window->windowTitle(), QStringLiteral("甲 登录窗体"));
        QCOMPARE(gpsysname, QStringLiteral("甲"));
    }

    void missingTextColumnsAreHarmless()
    {
        server->command(QStringLiteral("config"),
                        {QStringLiteral("--null"), QStringLiteral("kfqq"), QStringLiteral("--null"),
                         QStringLiteral("an5url")});
        std::unique_ptr<TFrmLogin> window;
        QCOMPARE(createLoginWindow(window), QString());
        QCOMPARE(kfqq, QString());
        QCOMPARE(an5url, QString());
    }

    void serverDownExplainsItself()
    {
        server->stop();
        std::unique_ptr<TFrmLogin> window;
        QCOMPARE(createLoginWindow(window), unavailable);
        QCOMPARE(window->exec(), int(QDialog::Rejected));
        QVERIFY(window->configurationFailed());
        // Below the designed line: the address tried, the cause, and where the setting lives.
        const QString text = MessageBoxRecorder::shown().constFirst().text;
        QVERIFY2(text.contains(server->endpoint().toString()), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("原因：无法连接服务器")), qPrintable(text));
        QVERIFY2(text.contains(ServiceSettings::settingsFilePath()), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("man tipdesk")), qPrintable(text));
    }

    void settingsLayers_data()
    {
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("environment");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("source"); // "system", "user", the variable's name or empty
        const QString builtIn = ServiceSettings::builtInBaseAddress();
        QTest::newRow("nothing set") << ""
                                     << ""
                                     << "" << builtIn << "";
        QTest::newRow("the operator's system file") << "https://sys.example.com"
                                                    << ""
                                                    << ""
                                                    << "https://sys.example.com/"
                                                    << "system";
        QTest::newRow("the user's file wins") << "https://sys.example.com/"
                                              << "https://me.example.com/"
                                              << ""
                                              << "https://me.example.com/"
                                              << "user";
        QTest::newRow("the environment wins") << "https://sys.example.com/"
                                              << "https://me.example.com/"
                                              << "http://127.0.0.1:9/"
                                              << "http://127.0.0.1:9/"
                                              << "TIPDESK_SERVER";
    }

    void settingsLayers()
    {
        QFETCH(QString, system);
        QFETCH(QString, user);
        QFETCH(QString, environment);
        QFETCH(QString, base);
        QFETCH(QString, source);
        QTemporaryDir systemFolders;
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(systemFolders.path()));
        const QString systemFile = systemFolders.filePath(QStringLiteral("TipDesk/tipdesk.conf"));
        QCOMPARE(ServiceSettings::systemSettingsFilePaths(), QStringList {systemFile});
        writeSettings(systemFile, system);
        writeSettings(ServiceSettings::settingsFilePath(), user);
        qputenv("TIPDESK_SERVER", environment.toUtf8());

        const ServiceSettings settings = ServiceSettings::load();
        qunsetenv("TIPDESK_SERVER");
        QFile::remove(ServiceSettings::settingsFilePath());
        QCOMPARE(settings.baseAddress, base);
        const QString expectedSource = source == u"system" ? systemFile
            : source == u"user"                            ? ServiceSettings::settingsFilePath()
                                                           : source;
        QCOMPARE(settings.baseAddressSource, expectedSource);
    }
};

TIPDESK_GUI_TEST_MAIN(TestConfiguration)
#include "tst_configuration.moc"
