// Change-polling figures of the client against a tipdesk-server process on loopback:
//   latency [publishes]  operator publish acknowledged -> popup window shown, poll interval 1 s,
//                        publishes at random moments (default 50); prints median, p95, max
//   tick [rounds]        client-side work of one poll tick (server time excluded): a quiet tick,
//                        and a new alert with 1,000 of today's alerts and the alert window open
//   idle [seconds]       the main window hidden in the tray at an interval of 10 s (default 300 s):
//                        CPU share of one core and wake-ups per second of the whole process
//   soak [ticks]         poll ticks by hand (default 10,000) with alerts published, popups raised
//                        and closed, and the content window switched between the alert window and
//                        the web windows: resident memory after warming up and at the end
// Run it with QT_QPA_PLATFORM=offscreen or under Xvfb; TIPDESK_SERVER_BIN names the server binary.
#include "BenchSupport.h"
#include "TestServer.h"

#include "app/ChangeCounters.h"
#include "app/DataModule.h"
#include "app/UnitGlouble.h"
#include "main/UnitMain.h"
#include "popup/FrmSlidePopUp.h"
#include "popup/SlidePopUp.h"
#include "service/Statements.h"
#include "service/WebService.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// Median duration of `rounds` runs of `work`, in milliseconds.
double medianMs(int rounds, const std::function<void()> &work)
{
    QList<double> times;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        work();
        times.append(clock.nsecsElapsed() / 1e6);
    }
    return Bench::percentile(times, 0.5);
}

void publishAlert(TestServer &server, int serial)
{
    server.command(QStringLiteral("publish-alert"),
                   {"--level", "3", "--code",
                    QStringLiteral("6%1").arg(serial % 100000, 5, 10, QLatin1Char('0')), "--price",
                    "10.00", "--action", "买入", "--reason", "bench"});
}

// Reports when a popup window of the component is shown.
class PopupShown : public QObject
{
public:
    std::function<void()> onShown;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<TfrmSlidePopUp *>(watched) && onShown)
            onShown();
        return false;
    }
};

int latency(TestServer &server, int publishes)
{
    khdsxsj = 1;
    anxs(1) = QStringLiteral("0");
    TFrmMain window;
    window.show();
    Bench::runFor(500);

    PopupShown watch;
    qApp->installEventFilter(&watch);
    QList<double> latencies;
    for (int serial = 0; serial < publishes; ++serial) {
        Bench::runFor(int(QRandomGenerator::global()->bounded(1500)));
        publishAlert(server, serial); // returns once the entry is committed
        QElapsedTimer clock;
        clock.start();
        bool shown = false;
        watch.onShown = [&] { shown = true; };
        while (!shown && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        if (shown)
            latencies.append(clock.nsecsElapsed() / 1e6);
        window.SlidePopUp1->CloseAll();
    }
    std::printf("publish -> popup shown, interval 1 s, %d publishes (%lld seen):\n", publishes,
                qlonglong(latencies.size()));
    std::printf("  median %7.1f ms   p95 %7.1f ms   max %7.1f ms   (target p95 <= 1100 ms)\n",
                Bench::percentile(latencies, 0.5), Bench::percentile(latencies, 0.95),
                Bench::percentile(latencies, 1.0));
    return latencies.size() == publishes ? 0 : 1;
}

int tick(TestServer &server, int rounds)
{
    for (int serial = 0; serial < 1000; ++serial)
        publishAlert(server, serial);
    khdsxsj = 0; // ticks run by hand only
    anxs(1) = QStringLiteral("0");
    TFrmMain window;
    window.show();
    Bench::runFor(200);
    window.Timer1Timer();

    // Quiet: the counters call and nothing else. The client's part is the tick less the call.
    const double quietTick = medianMs(rounds, [&] { window.Timer1Timer(); });
    const double countersCall = medianMs(rounds, [] { fetchChangeCounters(); });

    // New alert with the alert window open: counters, today's alerts, the latest 30.
    int serial = 1000;
    QList<double> alertTicks;
    for (int round = 0; round < rounds; ++round) {
        publishAlert(server, serial++);
        QElapsedTimer clock;
        clock.start();
        window.Timer1Timer();
        alertTicks.append(clock.nsecsElapsed() / 1e6);
        window.SlidePopUp1->CloseAll();
    }
    // The same three calls without reading the result documents: what the tick less this
    // leaves is the client's own work (parsing, grid fills, the popup).
    const double alertCalls = medianMs(rounds, [] {
        fetchChangeCounters();
        NewServiceProxy()->hqsametable(Statements::todaysAlerts(yhqyhyfj, UserDJ));
        NewServiceProxy()->hqsametable(Statements::latestAlerts(yhqyhyfj, UserDJ));
    });

    std::printf("client-side work of one poll tick (server calls subtracted), median of %d:\n",
                rounds);
    std::printf("  quiet tick                            %7.3f ms   (tick %.3f, call %.3f; target "
                "<= 1 ms)\n",
                quietTick - countersCall, quietTick, countersCall);
    std::printf("  new alert, 1,000 today, window open   %7.3f ms   (tick %.3f, calls %.3f; target "
                "<= 30 ms)\n",
                Bench::percentile(alertTicks, 0.5) - alertCalls, Bench::percentile(alertTicks, 0.5),
                alertCalls);
    return 0;
}

struct ProcessCost
{
    double cpuSeconds = 0;
    long long switches = 0;
    QMap<QString, long long> switchesByThread; // by thread name
};

// CPU time and context switches of every thread of this process.
ProcessCost processCost()
{
    ProcessCost cost;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile schedstat(tasks.filePath(task + QStringLiteral("/schedstat")));
        if (schedstat.open(QIODevice::ReadOnly)) {
            const QList<QByteArray> fields = schedstat.readAll().trimmed().split(' ');
            if (fields.size() >= 3) {
                cost.cpuSeconds += fields.at(0).toDouble() / 1e9;
                cost.switches += fields.at(2).toLongLong(); // timeslices run = wake-ups
                QFile comm(tasks.filePath(task + QStringLiteral("/comm")));
                comm.open(QIODevice::ReadOnly);
                const QString name = QString::fromUtf8(comm.readAll().trimmed()) + u'/' + task;
                cost.switchesByThread[name] += fields.at(2).toLongLong();
            }
        }
    }
    return cost;
}

int idle(int seconds)
{
    khdsxsj = 10;
    anxs(1) = QStringLiteral("0");
    TFrmMain window;
    window.show();
    Bench::runFor(1000);
    window.hide(); // in the tray
    Bench::runFor(2000);
    const ProcessCost before = processCost();
    QElapsedTimer clock;
    clock.start();
    Bench::runFor(seconds * 1000);
    const ProcessCost after = processCost();
    const double elapsed = clock.nsecsElapsed() / 1e9;
    std::printf("tray-idle, interval 10 s, %.0f s:\n", elapsed);
    std::printf("  CPU %.4f %% of one core   (target <= 0.05 %%)\n",
                100.0 * (after.cpuSeconds - before.cpuSeconds) / elapsed);
    std::printf("  wake-ups %.2f per second (all threads)   (target <= 1)\n",
                double(after.switches - before.switches) / elapsed);
    for (auto thread = after.switchesByThread.cbegin(); thread != after.switchesByThread.cend();
         ++thread) {
        const long long woken = thread.value() - before.switchesByThread.value(thread.key());
        if (woken > 0)
            std::printf("    %-28s %.2f per second\n", qPrintable(thread.key()),
                        double(woken) / elapsed);
    }
    return 0;
}

int soak(TestServer &server, int ticks)
{
    khdsxsj = 0; // ticks run by hand only
    for (int position = 1; position <= toolbarEntryCount; ++position)
        anxs(position) = position == 11 ? QStringLiteral("1") : QStringLiteral("0");
    TFrmMain window;
    window.show();
    Bench::runFor(500);
    const int warmUp = std::min(1000, ticks / 5);
    long warm = 0;
    int serial = 0;
    for (int tick = 1; tick <= ticks; ++tick) {
        if (tick % 50 == 0)
            publishAlert(server, serial++);
        window.Timer1Timer();
        QCoreApplication::processEvents();
        if (tick % 100 == 0)
            window.SlidePopUp1->CloseAll();
        if (tick % 500 == 0) {
            // Alternate the alert window with one of the web windows, and let the page load.
            const int position = (tick / 500) % 2 ? 2 + (tick / 1000) % 9 : 1;
            window.toolbarButton(position)->click();
            Bench::runFor(position == 1 ? 50 : 600);
        }
        if (tick == warmUp) {
            Bench::runFor(200);
            warm = Bench::residentKiB();
        }
    }
    window.toolbarButton(1)->click();
    window.SlidePopUp1->CloseAll();
    Bench::runFor(2000);
    const long end = Bench::residentKiB();
    std::printf("soak: %d poll ticks, %d alerts published, content switched every 500 ticks:\n",
                ticks, serial);
    std::printf(
        "  RSS after %d ticks %.1f MiB, at the end %.1f MiB: growth %.1f MiB   (target <= 5 MB)\n",
        warmUp, warm / 1024.0, end / 1024.0, (end - warm) / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("TipDesk"));
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("tick");
    const int amount = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 0;

    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    DataModule dataModule;
    TestServer server;
    if (!Bench::demoLoggedIn(server))
        return 1;
    yhqyhyfj = false;

    if (mode == u"latency")
        return latency(server, amount > 0 ? amount : 50);
    if (mode == u"tick")
        return tick(server, amount > 0 ? amount : 50);
    if (mode == u"idle")
        return idle(amount > 0 ? amount : 300);
    if (mode == u"soak")
        return soak(server, amount > 0 ? amount : 10000);
    std::fprintf(stderr, "usage: bench_poll latency|tick|idle|soak [count or seconds]\n");
    return 2;
}
