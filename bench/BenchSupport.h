#pragma once

// What the client benchmarks share: the reference server and the demo login, waiting with the
// event loop running, percentiles, and the process's resident memory.
#include "ClientSession.h"
#include "TestServer.h"

#include <QEventLoop>
#include <QFile>
#include <QList>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace Bench {

// Whether the run's reference server is up; says why not on stderr.
inline bool serverStarted(const TestServer &server)
{
    if (server.isRunning())
        return true;
    std::fprintf(stderr, "demo server did not start: %s\n", qPrintable(server.errorText()));
    return false;
}

// The client logged in as the demo VIP account, once the server is up.
inline bool demoLoggedIn(TestServer &server)
{
    if (!serverStarted(server))
        return false;
    ClientSession::logIn(server, QStringLiteral("demo"), QStringLiteral("demo123"));
    return true;
}

inline void runFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// The value below which `share` (0..1) of the values lie.
inline double percentile(QList<double> values, double share)
{
    if (values.isEmpty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const auto index = qsizetype(share * double(values.size() - 1) + 0.5);
    return values.at(std::clamp<qsizetype>(index, 0, values.size() - 1));
}

inline long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

} // namespace Bench
