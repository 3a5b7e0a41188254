// Program start-up: one client per user, the connectivity gate and the order in which the
// long-lived objects appear.
#include "GuiTestMain.h"
#include "ServiceTarget.h"
#include "TestServer.h"

#include "app/SingleInstance.h"
#include "app/UnitGlouble.h"
#include "main/UnitMain.h"
#include "service/SoapTransport.h"
#include "startup/ProgramEntry.h"
#include "startup/UnitLogin.h"
#include "ui/MessageBoxes.h"

#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

namespace {

// A driven run that has not reached its next step after this many 10 ms ticks is ended.
constexpr int giveUpTicks = 2000;

TFrmMain *visibleMainWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<TFrmMain *>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

// Another start of the client, as far as it gets while this one runs.
SingleInstance::Claim secondStart()
{
    return SingleInstance().claim();
}

} // namespace

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

    // Help and version answer anywhere, also where no display is there at all.
    void helpAndVersionNeedNoDisplay_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("begins");
        QTest::newRow("--version") << "--version"
                                   << "tipdesk " + QStringLiteral(TIPDESK_VERSION);
        QTest::newRow("-v") << "-v"
                            << "tipdesk ";
        QTest::newRow("--help") << "--help" << QStringLiteral("用法：tipdesk");
        QTest::newRow("-h after a Qt option") << "-h" << QStringLiteral("用法：tipdesk");
    }

    void helpAndVersionNeedNoDisplay()
    {
        QFETCH(QString, argument);
        QFETCH(QString, begins);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        QProcess client;
        client.setProcessEnvironment(environment);
        client.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tipdesk"),
                     {QStringLiteral("-platform"), QStringLiteral("xcb"), argument});
        QVERIFY(client.waitForFinished(10000));
        QCOMPARE(client.exitStatus(), QProcess::NormalExit);
        QCOMPARE(client.exitCode(), 0);
        const QString out = QString::fromUtf8(client.readAllStandardOutput());
        QVERIFY2(out.startsWith(begins), qPrintable(out));
    }

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
        QCOMPARE(QApplication::topLevelWidgets().size(), 0); // no window was ever created
        QCOMPARE(SoapTransport::requestsSent(), 0);
        QVERIFY(programDir.isEmpty()); // nor the data module
    }

    // Closing the login window ends the program: the main window never shows, nothing polls.
    void cancelledLoginEndsTheProgram_data()
    {
        QTest::addColumn<QStringList>("configuration");
        QTest::addColumn<int>("requests");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("closed by the user")
            << QStringList {QStringLiteral("gpsysname=甲")} << 2
            << QStringList {QStringLiteral("是否关闭本系统？")} << 0;
        QTest::newRow("configuration missing")
            << QStringList {QStringLiteral("--delete-config")} << 1
            << QStringList {QStringLiteral("系统错误，请在后台先维护系统配置信息！")} << 1;
    }

    void cancelledLoginEndsTheProgram()
    {
        QFETCH(QStringList, configuration);
        QFETCH(int, requests);
        QFETCH(QStringList, messages);
        QFETCH(int, exitCode);
        TestServer server;
        QVERIFY2(server.isRunning(), qPrintable(server.errorText()));
        server.command(QStringLiteral("config"), configuration);
        pointClientAt(server.baseUrl());

        bool mainWindowSeen = false;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&] {
            for (QWidget *widget : QApplication::topLevelWidgets())
                mainWindowSeen |=
                    widget->objectName() == QLatin1String("FrmMain") && widget->isVisible();
            if (auto *login = qobject_cast<TFrmLogin *>(QApplication::activeModalWidget()))
                login->Button2Click(); // the recorder answers the confirmation with OK
        });
        closer.start(10);

        const int before = SoapTransport::requestsSent();
        QCOMPARE(runProgramEntry([] { return true; }), exitCode);
        QCOMPARE(SoapTransport::requestsSent() - before, requests);
        QVERIFY(!mainWindowSeen);
        QStringList shown;
        for (const auto &box : MessageBoxRecorder::shown())
            shown << box.text;
        QCOMPARE(shown, messages);
        QVERIFY(!programDir.isEmpty()); // the data module did run
        QVERIFY(QFile::exists(programDir + QStringLiteral("miduseing.wav")));
    }

    // A second start only brings the running client forward: before any check or window of its
    // own, it ends with 0.
    void secondStartBringsTheLoginWindowForward()
    {
        TestServer server;
        QVERIFY2(server.isRunning(), qPrintable(server.errorText()));
        pointClientAt(server.baseUrl());

        QWidget otherWindow; // stands for another program that has the focus
        enum class Step { LoginUp, OtherActive, LoginInFront } step = Step::LoginUp;
        int secondResult = -1;
        bool secondChecked = false;
        bool broughtForward = false;
        qsizetype windowsBefore = 0;
        qsizetype windowsAfter = 0;
        QPointer<TFrmLogin> login;
        int ticks = 0;
        QTimer driver;
        connect(&driver, &QTimer::timeout, this, [&] {
            if (++ticks > giveUpTicks && login) {
                login->Button2Click(); // the step did not come: end the run, the checks fail
                return;
            }
            switch (step) {
            case Step::LoginUp:
                login = qobject_cast<TFrmLogin *>(QApplication::activeModalWidget());
                if (!login)
                    return;
                otherWindow.show();
                otherWindow.activateWindow();
                step = Step::OtherActive;
                return;
            case Step::OtherActive:
                if (QApplication::activeWindow() != &otherWindow)
                    return;
                windowsBefore = QApplication::topLevelWidgets().size();
                secondResult = runProgramEntry([&] { return secondChecked = true; });
                windowsAfter = QApplication::topLevelWidgets().size();
                step = Step::LoginInFront;
                return;
            case Step::LoginInFront:
                if (QApplication::activeWindow() == login) {
                    broughtForward = true;
                    login->Button2Click(); // the recorder answers the confirmation with OK
                }
                return;
            }
        });
        driver.start(10);

        QCOMPARE(runProgramEntry([] { return true; }), 0);
        QCOMPARE(step, Step::LoginInFront);
        QVERIFY(broughtForward);
        QCOMPARE(secondResult, 0);
        QVERIFY(!secondChecked);
        QCOMPARE(windowsAfter, windowsBefore);
        // Only the running login's own confirmation was shown.
        QCOMPARE(MessageBoxRecorder::shown().size(), 1);
        QCOMPARE(secondStart(), SingleInstance::Claim::First); // the ended client freed the socket
    }

    void secondStartRestoresTheMinimisedMainWindow()
    {
        TestServer server;
        QVERIFY2(server.isRunning(), qPrintable(server.errorText()));
        pointClientAt(server.baseUrl());

        enum class Step { Login, MainWindowUp, Minimised, Restored } step = Step::Login;
        int ticks = 0;
        bool restored = false;
        QTimer driver;
        connect(&driver, &QTimer::timeout, this, [&] {
            TFrmMain *window = visibleMainWindow();
            if (++ticks > giveUpTicks && window) {
                window->close(); // the step did not come: end the run, the checks fail
                return;
            }
            switch (step) {
            case Step::Login:
                if (auto *login = qobject_cast<TFrmLogin *>(QApplication::activeModalWidget())) {
                    login->findChild<QLineEdit *>(QStringLiteral("Edit1"))
                        ->setText(QStringLiteral("demo"));
                    login->findChild<QLineEdit *>(QStringLiteral("Edit2"))
                        ->setText(QStringLiteral("demo123"));
                    login->findChild<QPushButton *>(QStringLiteral("Button1"))->click();
                    step = Step::MainWindowUp;
                }
                return;
            case Step::MainWindowUp:
                if (!window)
                    return;
                window->showMinimized();
                step = Step::Minimised;
                return;
            case Step::Minimised:
                if (!window || !window->isMinimized())
                    return;
                if (secondStart() == SingleInstance::Claim::AlreadyRunning)
                    step = Step::Restored;
                return;
            case Step::Restored:
                if (window && !window->isMinimized() && QApplication::activeWindow() == window) {
                    restored = true;
                    window->close(); // ends the program
                }
                return;
            }
        });
        driver.start(10);

        QCOMPARE(runProgramEntry([] { return true; }), 0);
        QCOMPARE(step, Step::Restored);
        QVERIFY(restored);
        QVERIFY(MessageBoxRecorder::shown().isEmpty());
    }

    void connectivityInEmptyNetworkNamespace()
    {
        const QString probe =
            QCoreApplication::applicationDirPath() + QStringLiteral("/connectivity_probe");
        QProcess offline;
        offline.start(QStringLiteral("unshare"),
                      {QStringLiteral("--net"), probe, QStringLiteral("http://192.0.2.10/")});
        if (!offline.waitForFinished(20000) || offline.exitCode() != 0)
            QSKIP("no permission to create a network namespace here");
        QCOMPARE(offline.readAllStandardOutput().trimmed(), QByteArray("offline"));

        // A server on loopback counts as reachable, even with no network at all.
        QProcess loopback;
        loopback.start(QStringLiteral("unshare"),
                       {QStringLiteral("--net"), probe, QStringLiteral("http://127.0.0.1:8080/")});
        QVERIFY(loopback.waitForFinished(20000));
        QCOMPARE(loopback.readAllStandardOutput().trimmed(), QByteArray("connected"));
    }
};

TIPDESK_GUI_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
