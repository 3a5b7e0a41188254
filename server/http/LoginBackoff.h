#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <chrono>

namespace server {

// Slows password guessing: the service has no login token, so any caller may try passwords as
// fast as the server answers. After FreeFailures failed checks within Window from one address,
// each further check from it waits for its turn: turns are a delay apart, the delay doubling up
// to MaxDelay, so parallel guesses gain nothing. Only a few checks from one address, and a
// bounded number in all, may wait at once; the rest are refused at once. Addresses without recent
// failures are never delayed.
class LoginBackoff final
{
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int FreeFailures = 10;
    static constexpr std::chrono::seconds Window {60};
    static constexpr std::chrono::milliseconds FirstDelay {250};
    static constexpr std::chrono::milliseconds MaxDelay {4000};
    // Four turns at the longest delay end within the client's 20 s call time-out.
    static constexpr int MaxWaitingPerAddress = 4;
    static constexpr int MaxWaiting = 256;

    enum class Admission { Now, Later, Refused };
    struct Turn
    {
        Admission admission = Admission::Now;
        std::chrono::milliseconds delay {0}; // for Later
    };

    // Books a check from the address: run now (most), later (under back-off: a delay after the
    // turn booked before it), or refused (too many are waiting).
    Turn book(const QString &address, Clock::time_point now = Clock::now());
    // A check booked for later has run, or its connection went away.
    void leave(const QString &address);
    void recordFailure(const QString &address, Clock::time_point now = Clock::now());

private:
    struct Record
    {
        QList<Clock::time_point> failures; // within the window, oldest first
        Clock::time_point nextTurn;
        int waiting = 0;
    };
    static void forgetOld(Record &record, Clock::time_point now);

    // Addresses followed at most; beyond it those without recent failures are dropped, and a new
    // address is not followed while every place is taken.
    static constexpr qsizetype MaxAddresses = 4096;
    QHash<QString, Record> m_records;
    int m_waiting = 0;
};

} // namespace server
