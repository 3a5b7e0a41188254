// Program start-up: the connectivity gate and the order in which the long-lived objects appear.
#include "GuiTestMain.h"
#include "ServiceTarget.h"
#include "TestServer.h"

#include "app/UnitGlouble.h"
#include "service/SoapTransport.h"
#include "startup/ProgramEntry.h"
#include "startup/UnitLogin.h"
#include "ui/MessageBoxes.h"

#include <QProcess>
#include <QFile>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        resetClientGlobals();
        MessageBoxRecorder::start();
    }

    void cleanup() { MessageBoxRecorder::stop(); }

    void withoutConnectionNothingStarts()
    {
        bool checked = false;
        const int code = runProgramEntry([&] {
            checked = true;
            return false;
        });
        QVERIFY(checked);
        QCOMPARE(code, 1);
        const auto shown = MessageBoxRecorder::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("没有连接上网络请先连接网络再打开本软件，请关闭!"));
        QCOMPARE(shown[0].caption, QStringLiteral("提示"));
        QCOMPARE(shown[0].icon, BoxIcon::None);
        QCOMPARE(shown[0].buttons, BoxButtons::Ok);
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);   // no window was ever created
        QCOMPARE(SoapTransport::requestsSent(), 0);
        QVERIFY(programDir.isEmpty());                        // nor the data module
    }

    // Closing the login window ends the program: the main window never shows, nothing polls.
    void cancelledLoginEndsTheProgram_data()
    {
        QTest::addColumn<QStringList>("configuration");
        QTest::addColumn<int>("requests");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("closed by the user") << QStringList{QStringLiteral("gpsysname=甲")} << 2
                                            << QStringList{QStringLiteral("是否关闭本系统？")};
        QTest::newRow("configuration missing") << QStringList{QStringLiteral("--delete-config")} << 1
                                               << QStringList{QStringLiteral("系统错误，请在后台先维护系统配置信息！")};
    }

    void cancelledLoginEndsTheProgram()
    {
        QFETCH(QStringList, configuration);
        QFETCH(int, requests);
        QFETCH(QStringList, messages);
        TestServer server;
        QVERIFY2(server.isRunning(), qPrintable(server.errorText()));
        server.command(QStringLiteral("config"), configuration);
        pointClientAt(server.baseUrl());

        bool mainWindowSeen = false;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&] {
            for (QWidget *widget : QApplication::topLevelWidgets())
                mainWindowSeen |= widget->objectName() == QLatin1String("FrmMain") && widget->isVisible();
            if (auto *login = qobject_cast<TFrmLogin *>(QApplication::activeModalWidget()))
                login->Button2Click();   // the recorder answers the confirmation with OK
        });
        closer.start(10);

        const int before = SoapTransport::requestsSent();
        QCOMPARE(runProgramEntry([] { return true; }), 0);
        QCOMPARE(SoapTransport::requestsSent() - before, requests);
        QVERIFY(!mainWindowSeen);
        QStringList shown;
        for (const auto &box : MessageBoxRecorder::shown())
            shown << box.text;
        QCOMPARE(shown, messages);
        QVERIFY(!programDir.isEmpty());   // the data module did run
        QVERIFY(QFile::exists(programDir + QStringLiteral("miduseing.wav")));
    }

    void connectivityInEmptyNetworkNamespace()
    {
        const QString probe = QCoreApplication::applicationDirPath() + QStringLiteral("/connectivity_probe");
        QProcess offline;
        offline.start(QStringLiteral("unshare"), {QStringLiteral("--net"), probe, QStringLiteral("http://192.0.2.10/")});
        if (!offline.waitForFinished(20000) || offline.exitCode() != 0)
            QSKIP("no permission to create a network namespace here");
        QCOMPARE(offline.readAllStandardOutput().trimmed(), QByteArray("offline"));

        // A server on loopback counts as reachable, even with no network at all.
        QProcess loopback;
        loopback.start(QStringLiteral("unshare"), {QStringLiteral("--net"), probe, QStringLiteral("http://127.0.0.1:8080/")});
        QVERIFY(loopback.waitForFinished(20000));
        QCOMPARE(loopback.readAllStandardOutput().trimmed(), QByteArray("connected"));
    }
};

TIPDESK_GUI_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
