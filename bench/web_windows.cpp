// Web window figures against a demo tipdesk-server on loopback, in a logged-in main window:
//   - toolbar click -> page painted, for the first web window (the engine's own start included)
//     and for a second one; whether the main window kept its native window (under X);
//   - PSS of the whole process tree (client and the engine's helper processes) before any web
//     window, with one open, after switching back to the alert window, and after 50 switches
//     back and forth.
// Run with QT_QPA_PLATFORM=offscreen (or under Xvfb), QTWEBENGINE_DISABLE_SANDBOX=1 as root, and
// TIPDESK_SERVER_BIN naming the server binary.
#include "BenchSupport.h"
#include "TestServer.h"

#include "app/DataModule.h"
#include "app/UnitGlouble.h"
#include "content/WebContentWindow.h"
#include "main/UnitMain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>

#include <cstdio>
#include <unistd.h>

namespace {

// Proportional set size of a process, in KiB.
long pssKiB(const QString &pid)
{
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : rollup.readAll().split('\n')) {
        if (line.startsWith("Pss:"))
            return line.mid(4).trimmed().split(' ').first().toLong();
    }
    return 0;
}

// The process and its descendants (the engine's renderer and helpers).
struct Tree
{
    double pssMiB = 0;
    int helpers = 0;
    QStringList parts; // "name pid: MiB"
};

QString processName(const QString &pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    return comm.open(QIODevice::ReadOnly) ? QString::fromUtf8(comm.readAll().trimmed()) : QString();
}

Tree processTree()
{
    QMap<QString, QString> parentOf;
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!pid.at(0).isDigit() || !stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1)
            parentOf.insert(pid, QString::fromLatin1(fields.at(1)));
    }
    const QString self = QString::number(::getpid());
    Tree tree;
    for (auto entry = parentOf.cbegin(); entry != parentOf.cend(); ++entry) {
        QString ancestor = entry.key();
        while (!ancestor.isEmpty() && ancestor != self && ancestor != u"1" && ancestor != u"0")
            ancestor = parentOf.value(ancestor);
        // The reference server is this benchmark's child too, but not part of the client.
        if (ancestor == self && processName(entry.key()) != u"tipdesk-server") {
            const double mib = pssKiB(entry.key()) / 1024.0;
            tree.pssMiB += mib;
            tree.parts.append(QStringLiteral("%1 %2: %3")
                                  .arg(processName(entry.key()), entry.key())
                                  .arg(mib, 0, 'f', 1));
            if (entry.key() != self)
                ++tree.helpers;
        }
    }
    return tree;
}

// Clicks a toolbar button and answers when the new web window's first page has been painted.
double openWebWindow(TFrmMain &window, int position)
{
    QElapsedTimer clock;
    clock.start();
    window.toolbarButton(position)->click();
    auto *web = static_cast<WebContentWindow *>(window.currentContentWindow());
    bool loaded = false;
    QObject::connect(web->browser(), &QWebEngineView::loadFinished, [&] { loaded = true; });
    while (!loaded && clock.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QCoreApplication::processEvents(); // the paint after the load
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("TipDesk"));
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    DataModule dataModule;
    TestServer server;
    if (!Bench::demoLoggedIn(server))
        return 1;
    khdsxsj = 0;
    for (int position = 1; position <= toolbarEntryCount; ++position)
        anxs(position) = QStringLiteral("0");

    TFrmMain window;
    window.show();
    Bench::runFor(1500);
    const Tree before = processTree();
    const WId nativeWindow = window.winId();
    const double first = openWebWindow(window, 4);
    const bool nativeWindowKept = window.winId() == nativeWindow;
    Bench::runFor(1500);
    const Tree oneOpen = processTree();
    const double second = openWebWindow(window, 5);
    Bench::runFor(500);
    window.toolbarButton(1)->click();
    Bench::runFor(3000);
    const Tree back = processTree();
    for (int round = 0; round < 50; ++round) {
        openWebWindow(window, 4 + round % 7);
        window.toolbarButton(1)->click();
        Bench::runFor(100);
    }
    Bench::runFor(3000);
    const Tree after = processTree();

    std::printf("web windows (platform: %s):\n", qPrintable(QGuiApplication::platformName()));
    std::printf("  first web window: click -> page painted   %7.1f ms   (target <= 700 ms)\n",
                first);
    std::printf("  main window's native window               %s\n",
                nativeWindowKept ? "kept" : "recreated by the first web window");
    std::printf("  second web window                         %7.1f ms   (target <= 150 ms)\n",
                second);
    std::printf("  tree PSS before any web window            %7.1f MiB  (%d helper processes)\n",
                before.pssMiB, before.helpers);
    std::printf(
        "  tree PSS, one web window open             %7.1f MiB  (%d helpers; target <= 200 MiB)\n",
        oneOpen.pssMiB, oneOpen.helpers);
    std::printf("  tree PSS, back on the alert window        %7.1f MiB  (%d helpers; target within "
                "30 MiB of before)\n",
                back.pssMiB, back.helpers);
    std::printf("  tree PSS after 50 switches                %7.1f MiB  (%d helpers; target < 10 "
                "MiB above the line above)\n",
                after.pssMiB, after.helpers);
    std::printf("  back on the alert window, by process: %s\n",
                qPrintable(back.parts.join(QStringLiteral(", "))));
    return 0;
}
