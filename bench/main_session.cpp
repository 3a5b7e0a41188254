// Start-up and session figures of the client on loopback with the demo data:
//   - process start -> login window shown (the real start-up steps: application, data module,
//     hidden main window, login window with its configuration load);
//   - login OK -> main window shown with the alert window loaded (show sequence, three queries,
//     counter snapshot, first paint);
//   - resident memory of the tray-idle main window with the alert window open.
// Runs itself as a child process several times against a demo tipdesk-server and prints medians.
// Run it under X (e.g. Xvfb with jwm) for the figures that count; QT_QPA_PLATFORM=offscreen works
// too.
//   bench_main_session [runs]
#include "BenchSupport.h"
#include "ClientSession.h"
#include "TestServer.h"

#include "app/DataModule.h"
#include "main/UnitMain.h"
#include "service/ServiceSettings.h"
#include "service/WebService.h"
#include "startup/UnitLogin.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

void waitUntilExposed(QWidget &window)
{
    QElapsedTimer limit;
    limit.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && limit.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents(); // the first paint
}

int child(int argc, char *argv[], const QString &base)
{
    QCoreApplication::setApplicationName(QStringLiteral("TipDesk"));
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    RegisterWebServiceSoap(ServiceSettings::load()); // TIPDESK_SERVER points at the demo server

    DataModule dataModule;
    TFrmMain mainWindow;
    {
        auto login = std::make_unique<TFrmLogin>();
        login->show();
        waitUntilExposed(*login);
        std::printf("login-shown\n");
        std::fflush(stdout);
    }

    ClientSession::logIn(base, QStringLiteral("demo"), QStringLiteral("demo123"));
    QElapsedTimer clock;
    clock.start();
    mainWindow.show();
    waitUntilExposed(mainWindow);
    std::printf("main-shown %.1f\n", clock.nsecsElapsed() / 1e6);

    Bench::runFor(2000);
    mainWindow.hide(); // minimised to the notification area
    Bench::runFor(3000);
    std::printf("rss %ld\n", Bench::residentKiB());
    std::fflush(stdout);
    return 0;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0.0 : values.at(values.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 2 && qstrcmp(argv[1], "--child") == 0)
        return child(argc, argv, QString::fromLocal8Bit(argv[2]));

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 7;
    TestServer server;
    if (!Bench::serverStarted(server))
        return 1;

    QList<double> startUp;
    QList<double> mainShown;
    QList<double> resident;
    for (int run = 0; run < runs; ++run) {
        QTemporaryDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TIPDESK_SERVER"), server.baseUrl());
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());

        QProcess process;
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer clock;
        clock.start();
        process.start(QCoreApplication::applicationFilePath(),
                      {QStringLiteral("--child"), server.baseUrl()});
        while (process.state() != QProcess::NotRunning || process.canReadLine()) {
            if (!process.canReadLine() && !process.waitForReadyRead(20000))
                break;
            const QByteArray line = process.readLine().trimmed();
            if (line == "login-shown")
                startUp.append(clock.nsecsElapsed() / 1e6);
            else if (line.startsWith("main-shown "))
                mainShown.append(line.mid(11).toDouble());
            else if (line.startsWith("rss "))
                resident.append(line.mid(4).toDouble() / 1024.0);
        }
        process.waitForFinished(20000);
    }

    std::printf("client session figures, median of %d runs (platform: %s):\n", runs,
                qEnvironmentVariableIsSet("QT_QPA_PLATFORM")
                    ? qPrintable(qEnvironmentVariable("QT_QPA_PLATFORM"))
                    : "default");
    std::printf("  process start -> login window shown          %7.1f ms   (target <= 200 ms)\n",
                median(startUp));
    std::printf("  login OK -> main window with alert window    %7.1f ms   (target <= 300 ms)\n",
                median(mainShown));
    std::printf("  RSS, tray-idle main window, alert window open %6.1f MiB  (target <= 60 MiB)\n",
                median(resident));
    return startUp.size() == runs && mainShown.size() == runs && resident.size() == runs ? 0 : 1;
}
