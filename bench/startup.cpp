// Start-up of the client side by side with a bare Qt Widgets floor (bench_startup_floor) and the
// same with a line of text (bench_startup_text_floor, which pays for the font system), on a
// virtual desktop of the bench's own (Xvfb, jwm and a session bus, as a desktop session has one)
// against a demo tipdesk-server:
//   - exec -> login window mapped: from just before posix_spawn to the X MapNotify of the
//     program's window (its _NET_WM_PID) whose title holds "登录". The bench blocks on its X
//     connection, so a map is seen within about a millisecond of the server making it; a window
//     already mapped when the bench first saw it counts from that moment and is reported as a late
//     sighting;
//   - CPU time to the map: the time all threads of the program spent on a CPU (schedstat) when the
//     map was seen; less disturbed by other work on the machine than the wall-clock figure;
//   - tree PSS: the proportional set size of every process of the program's process group, one
//     second after the map (the first paint is done);
//   - wake-ups per second of all its threads (voluntary context switches) while the window waits
//     untouched, from 1 s to 1+S s after the map and from 11 s to 11+S s (a caret that stops
//     blinking after 10 s without input has stopped by then).
// Each program starts once to warm the page cache and its data folder, then N times, interleaved
// in a rotating order. Prints medians and the ratio to the floor.
//   bench_startup [--runs N] [--idle S] [CLIENT[=LIBDIR]]...
// --idle 0 leaves the idle figures out (a quick comparison of start-up times).
// CLIENT defaults to tipdesk beside this program; LIBDIR becomes its LD_LIBRARY_PATH, so a copy of
// an earlier client is measured in the same run:
//   bench_startup /work/baseline/tipdesk=/work/baseline build/bin/tipdesk
// TIPDESK_SERVER_BIN names the server (default: tipdesk-server beside this program).
#include "BenchSupport.h"
#include "TestServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

const QByteArray loginTitleMark = QByteArrayLiteral("登录");
constexpr double mapLimitMs = 20000;
constexpr double settleMs = 1000;
constexpr double lateIdleStartMs = 11000;

double nowMs()
{
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

QString besideThisProgram(const char *name)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(name));
}

// The first line a helper process prints on its standard output (a display number, an address).
QByteArray firstLine(QProcess &process)
{
    const double limit = nowMs() + 10000;
    while (!process.canReadLine() && nowMs() < limit)
        process.waitForReadyRead(100);
    return process.readLine().trimmed();
}

void stopProcess(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000))
        process.kill();
    process.waitForFinished(3000);
}

// The X side: whether the window manager runs, and when the program's login window maps.
class MapWatch
{
public:
    explicit MapWatch(const QByteArray &display)
        : m_connection(xcb_connect(display.constData(), nullptr))
    {
        if (xcb_connection_has_error(m_connection))
            return;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        m_pidAtom = atom("_NET_WM_PID");
        m_nameAtom = atom("_NET_WM_NAME");
        m_wmCheckAtom = atom("_NET_SUPPORTING_WM_CHECK");
    }
    ~MapWatch() { xcb_disconnect(m_connection); }
    MapWatch(const MapWatch &) = delete;
    MapWatch &operator=(const MapWatch &) = delete;

    bool connected() const { return !xcb_connection_has_error(m_connection); }

    bool windowManagerRuns() { return !property(m_root, m_wmCheckAtom).isEmpty(); }

    // The moment the login window of `pid` was seen mapped, or a negative number when it was
    // not by `deadline`.
    double waitForMap(pid_t pid, double deadline, bool &late)
    {
        for (;;) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
                const double seen = nowMs();
                const double mapped = mapTime(event, pid, seen, late);
                free(event);
                if (mapped >= 0)
                    return mapped;
            }
            const double remaining = deadline - nowMs();
            if (remaining <= 0 || !connected())
                return -1;
            pollfd wait {xcb_get_file_descriptor(m_connection), POLLIN, 0};
            poll(&wait, 1, int(remaining) + 1);
        }
    }

    // Reads and drops the X events until `until` (the window's own events are of no interest).
    void idleUntil(double until)
    {
        for (double remaining = until - nowMs(); remaining > 0; remaining = until - nowMs()) {
            pollfd wait {xcb_get_file_descriptor(m_connection), POLLIN, 0};
            poll(&wait, 1, int(remaining) + 1);
            while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
                free(event);
        }
    }

private:
    double mapTime(xcb_generic_event_t *event, pid_t pid, double seen, bool &late)
    {
        switch (event->response_type & 0x7f) {
        case XCB_CREATE_NOTIFY: {
            // A new top-level window: watch it for its own map.
            const xcb_window_t window =
                reinterpret_cast<xcb_create_notify_event_t *>(event)->window;
            const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
            xcb_change_window_attributes(m_connection, window, XCB_CW_EVENT_MASK, &mask);
            xcb_get_window_attributes_reply_t *attributes = xcb_get_window_attributes_reply(
                m_connection, xcb_get_window_attributes(m_connection, window), nullptr);
            const bool mappedAlready =
                attributes && attributes->map_state != XCB_MAP_STATE_UNMAPPED;
            free(attributes);
            if (mappedAlready && isLoginWindow(window, pid)) {
                late = true;
                return nowMs();
            }
            return -1;
        }
        case XCB_MAP_NOTIFY: {
            const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
            if (map->event == map->window && isLoginWindow(map->window, pid))
                return seen;
            return -1;
        }
        default:
            return -1;
        }
    }

    bool isLoginWindow(xcb_window_t window, pid_t pid)
    {
        const QByteArray owner = property(window, m_pidAtom);
        return owner.size() == 4
            && *reinterpret_cast<const uint32_t *>(owner.constData()) == uint32_t(pid)
            && property(window, m_nameAtom).contains(loginTitleMark);
    }

    xcb_atom_t atom(const char *name)
    {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, uint16_t(qstrlen(name)), name), nullptr);
        const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_NONE);
        free(reply);
        return value;
    }

    QByteArray property(xcb_window_t window, xcb_atom_t name)
    {
        xcb_get_property_reply_t *reply = xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
            nullptr);
        QByteArray value;
        if (reply)
            value = QByteArray(static_cast<const char *>(xcb_get_property_value(reply)),
                               xcb_get_property_value_length(reply));
        free(reply);
        return value;
    }

    xcb_connection_t *m_connection;
    xcb_window_t m_root = 0;
    xcb_atom_t m_pidAtom = XCB_NONE;
    xcb_atom_t m_nameAtom = XCB_NONE;
    xcb_atom_t m_wmCheckAtom = XCB_NONE;
};

// Xvfb, jwm with the demo's desktop, and a session bus.
class VirtualDesktop
{
public:
    ~VirtualDesktop()
    {
        stopProcess(m_bus);
        stopProcess(m_jwm);
        stopProcess(m_xvfb);
    }

    bool start()
    {
        m_xvfb.start(
            QStringLiteral("Xvfb"),
            {"-displayfd", "1", "-screen", "0", "1280x900x24", "-nolisten", "tcp", "-noreset"});
        const QByteArray number = firstLine(m_xvfb);
        if (number.isEmpty())
            return fail("Xvfb did not start (scripts/setup installs it)");
        display = ':' + number;

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display));
        m_jwm.setProcessEnvironment(environment);
        m_jwm.setStandardOutputFile(QProcess::nullDevice());
        m_jwm.setStandardErrorFile(QProcess::nullDevice());
        m_jwm.start(QStringLiteral("jwm"), {"-f", TIPDESK_JWMRC});

        m_bus.start(QStringLiteral("dbus-daemon"),
                    {"--session", "--nofork", "--nopidfile", "--print-address=1"});
        busAddress = firstLine(m_bus);
        if (busAddress.isEmpty())
            return fail("the session bus did not start (dbus-daemon)");
        return true;
    }

    QByteArray display;
    QByteArray busAddress;

private:
    static bool fail(const char *why)
    {
        std::fprintf(stderr, "bench_startup: %s\n", why);
        return false;
    }

    QProcess m_xvfb;
    QProcess m_jwm;
    QProcess m_bus;
};

// What the processes of one process group hold and how often their threads went to sleep.
struct GroupSample
{
    double pssKiB = 0;
    long long switches = 0;
    double cpuMs = 0;
};

// The number after "key" on its line of a /proc status-like text.
long long statusValue(const QByteArray &status, const QByteArray &key)
{
    qsizetype at = status.indexOf(QByteArray('\n' + key));
    if (at < 0)
        return 0;
    at += key.size() + 1;
    while (at < status.size() && (status.at(at) == ' ' || status.at(at) == '\t'))
        ++at;
    long long value = 0;
    for (; at < status.size() && status.at(at) >= '0' && status.at(at) <= '9'; ++at)
        value = value * 10 + (status.at(at) - '0');
    return value;
}

QByteArray readProc(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

GroupSample sampleGroup(pid_t group)
{
    GroupSample sample;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool numeric = false;
        entry.toInt(&numeric);
        if (!numeric)
            continue;
        // After the command's closing parenthesis: state, parent, process group.
        const QByteArray stat = readProc(QStringLiteral("/proc/%1/stat").arg(entry));
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (fields.size() < 3 || fields.at(2).toInt() != group)
            continue;
        sample.pssKiB += double(statusValue(
            '\n' + readProc(QStringLiteral("/proc/%1/smaps_rollup").arg(entry)), "Pss:"));
        const QString tasks = QStringLiteral("/proc/%1/task").arg(entry);
        for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            sample.switches += statusValue('\n' + readProc(tasks + u'/' + task + "/status"),
                                           "voluntary_ctxt_switches:");
            // The first number of schedstat: nanoseconds on a CPU.
            sample.cpuMs +=
                double(statusValue('\n' + readProc(tasks + u'/' + task + "/schedstat"), "")) / 1e6;
        }
    }
    return sample;
}

struct Program
{
    Program(const QString &label, const QString &binary, const QString &libraryPath = {})
        : label(label), binary(binary), libraryPath(libraryPath)
    {
    }

    QString label;
    QString binary;
    QString libraryPath; // empty: none
    std::unique_ptr<QTemporaryDir> home = std::make_unique<QTemporaryDir>();
    QList<double> mappedMs, cpuMs, pssMiB, wakeEarly, wakeLate;
    int failures = 0;
    int lateSightings = 0;
};

struct Setting
{
    const VirtualDesktop &desktop;
    MapWatch &watch;
    QString serverBase;
    double idleMs;
};

// The program's environment: the bench's own with the desktop, the server and folders of its
// own (its home for every start, a fresh runtime folder for each).
std::vector<QByteArray> environmentFor(const Program &program, const Setting &setting,
                                       const QString &runtime)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString home = program.home->path();
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(setting.desktop.display));
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                       QString::fromLatin1(setting.desktop.busAddress));
    environment.insert(QStringLiteral("TIPDESK_SERVER"), setting.serverBase);
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + "/config");
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + "/data");
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + "/cache");
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    if (program.libraryPath.isEmpty())
        environment.remove(QStringLiteral("LD_LIBRARY_PATH"));
    else
        environment.insert(QStringLiteral("LD_LIBRARY_PATH"), program.libraryPath);
    std::vector<QByteArray> lines;
    for (const QString &line : environment.toStringList())
        lines.push_back(line.toLocal8Bit());
    return lines;
}

// Starts the program in a process group of its own, its output into its home's log.
pid_t spawn(const Program &program, const std::vector<QByteArray> &environment)
{
    std::vector<char *> envp;
    for (const QByteArray &line : environment)
        envp.push_back(const_cast<char *>(line.constData()));
    envp.push_back(nullptr);
    const QByteArray binary = program.binary.toLocal8Bit();
    const QByteArray log = program.home->filePath(QStringLiteral("output.log")).toLocal8Bit();
    char *argv[] = {const_cast<char *>(binary.constData()), nullptr};

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, log.constData(), O_WRONLY | O_CREAT | O_APPEND,
                                     0644);
    posix_spawn_file_actions_adddup2(&files, 1, 2);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, binary.constData(), &files, &attributes, argv, envp.data()) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    return pid;
}

void stopGroup(pid_t pid)
{
    kill(-pid, SIGTERM);
    for (int tries = 0; tries < 300; ++tries) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(10000);
    }
    kill(-pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// A desktop session's runtime folder is in memory (/run/user/UID, a tmpfs); on a disk the client's
// one-client-per-user lock file, which is synced, would cost milliseconds no user pays.
QString runtimeFolderTemplate()
{
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    const QString parent =
        memory.isDir() && memory.isWritable() ? memory.filePath() : QDir::tempPath();
    return parent + QStringLiteral("/bench_startup-XXXXXX");
}

void startOnce(Program &program, const Setting &setting, bool counted)
{
    QTemporaryDir runtime(runtimeFolderTemplate()); // mode 0700, as a runtime folder must be
    const std::vector<QByteArray> environment = environmentFor(program, setting, runtime.path());
    const double started = nowMs();
    const pid_t pid = spawn(program, environment);
    if (pid < 0) {
        ++program.failures;
        return;
    }
    bool late = false;
    const double mapped = setting.watch.waitForMap(pid, started + mapLimitMs, late);
    if (mapped < 0) {
        stopGroup(pid);
        ++program.failures;
        return;
    }
    const double cpuAtMap = sampleGroup(pid).cpuMs;
    setting.watch.idleUntil(mapped + settleMs);
    const GroupSample settled = sampleGroup(pid);
    double wakeEarly = 0;
    double wakeLate = 0;
    if (setting.idleMs > 0) {
        setting.watch.idleUntil(mapped + settleMs + setting.idleMs);
        wakeEarly = double(sampleGroup(pid).switches - settled.switches);
        setting.watch.idleUntil(mapped + lateIdleStartMs);
        const long long later = sampleGroup(pid).switches;
        setting.watch.idleUntil(mapped + lateIdleStartMs + setting.idleMs);
        wakeLate = double(sampleGroup(pid).switches - later);
    }
    stopGroup(pid);
    if (!counted)
        return;
    program.mappedMs.append(mapped - started);
    program.cpuMs.append(cpuAtMap);
    program.pssMiB.append(settled.pssKiB / 1024.0);
    if (setting.idleMs > 0) {
        program.wakeEarly.append(wakeEarly * 1000.0 / setting.idleMs);
        program.wakeLate.append(wakeLate * 1000.0 / setting.idleMs);
    }
    program.lateSightings += late ? 1 : 0;
}

double median(const QList<double> &values)
{
    return Bench::percentile(values, 0.5);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    int runs = 5;
    double idleSeconds = 5;
    std::vector<Program> programs;
    programs.emplace_back(QStringLiteral("floor (bare Qt widget)"),
                          besideThisProgram("bench_startup_floor"));
    programs.emplace_back(QStringLiteral("floor with a line of text"),
                          besideThisProgram("bench_startup_text_floor"));
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--runs") && i + 1 < arguments.size()) {
            runs = std::max(1, arguments.at(++i).toInt());
        } else if (argument == QLatin1String("--idle") && i + 1 < arguments.size()) {
            idleSeconds = std::max(0.0, arguments.at(++i).toDouble());
        } else {
            const qsizetype equals = argument.indexOf(u'=');
            programs.emplace_back(argument, equals < 0 ? argument : argument.left(equals),
                                  equals < 0 ? QString() : argument.mid(equals + 1));
        }
    }
    if (programs.size() == 2)
        programs.emplace_back(QStringLiteral("tipdesk"), besideThisProgram("tipdesk"));

    if (!qEnvironmentVariableIsSet("TIPDESK_SERVER_BIN"))
        qputenv("TIPDESK_SERVER_BIN", besideThisProgram("tipdesk-server").toLocal8Bit());
    TestServer server;
    if (!Bench::serverStarted(server))
        return 1;
    VirtualDesktop desktop;
    if (!desktop.start())
        return 1;
    MapWatch watch(desktop.display);
    for (int tries = 0; watch.connected() && !watch.windowManagerRuns() && tries < 100; ++tries)
        watch.idleUntil(nowMs() + 100);
    if (!watch.connected() || !watch.windowManagerRuns()) {
        std::fprintf(stderr, "bench_startup: the window manager (jwm) did not start\n");
        return 1;
    }
    const Setting setting {desktop, watch, server.baseUrl(), idleSeconds * 1000.0};

    for (Program &program : programs)
        startOnce(program, setting, false);
    for (int run = 0; run < runs; ++run) {
        for (size_t i = 0; i < programs.size(); ++i)
            startOnce(programs[(size_t(run) + i) % programs.size()], setting, true);
    }

    const double floorMs = median(programs.front().mappedMs);
    const double floorCpuMs = median(programs.front().cpuMs);
    std::printf("start-up under Xvfb + jwm, medians of %d interleaved starts per program\n", runs);
    const QByteArray earlyWindow = QStringLiteral("wake/s %1-%2 s")
                                       .arg(settleMs / 1000)
                                       .arg((settleMs + setting.idleMs) / 1000)
                                       .toLatin1();
    const QByteArray lateWindow = QStringLiteral("wake/s %1-%2 s")
                                      .arg(lateIdleStartMs / 1000)
                                      .arg((lateIdleStartMs + setting.idleMs) / 1000)
                                      .toLatin1();
    std::printf("%-44s %8s %6s %8s %6s %8s", "program", "map ms", "ratio", "CPU ms", "ratio",
                "PSS MiB");
    if (setting.idleMs > 0)
        std::printf(" %15s %15s", earlyWindow.constData(), lateWindow.constData());
    std::printf("\n");
    int failures = 0;
    for (const Program &program : programs) {
        std::printf("%-44s %8.1f %6.2f %8.1f %6.2f %8.1f", qPrintable(program.label),
                    median(program.mappedMs),
                    floorMs > 0 ? median(program.mappedMs) / floorMs : 0.0, median(program.cpuMs),
                    floorCpuMs > 0 ? median(program.cpuMs) / floorCpuMs : 0.0,
                    median(program.pssMiB));
        if (setting.idleMs > 0)
            std::printf(" %15.1f %15.1f", median(program.wakeEarly), median(program.wakeLate));
        if (program.lateSightings > 0)
            std::printf("   (%d maps seen late)", program.lateSightings);
        if (program.failures > 0)
            std::printf("   (%d starts without a login window)", program.failures);
        std::printf("\n");
        failures += program.failures;
    }
    return failures == 0 ? 0 : 1;
}
