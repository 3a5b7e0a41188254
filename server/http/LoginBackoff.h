#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <chrono>

namespace server {

// Slows password guessing: yanzheng has no login token, so any caller may try passwords as fast
// as the server answers. After FreeFailures failed checks within Window from one address, each
// further check from it is answered only after a delay that doubles up to MaxDelay; checks from
// that address are answered one delay apart, so parallel guesses gain nothing. Addresses without
// recent failures are never delayed.
class LoginBackoff final
{
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int FreeFailures = 10;
    static constexpr std::chrono::seconds Window {60};
    static constexpr std::chrono::milliseconds FirstDelay {250};
    static constexpr std::chrono::milliseconds MaxDelay {4000};

    // How long a check from this address waits before it is run and answered (zero for most);
    // books its turn, so the next one from there waits for this one and a delay more.
    std::chrono::milliseconds delayFor(const QString &address,
                                       Clock::time_point now = Clock::now());
    void recordFailure(const QString &address, Clock::time_point now = Clock::now());

private:
    struct Record
    {
        QList<Clock::time_point> failures; // within the window, oldest first
        Clock::time_point nextTurn;
    };
    static void forgetOld(Record &record, Clock::time_point now);

    // Addresses followed at most; beyond it those without recent failures are dropped.
    static constexpr qsizetype MaxAddresses = 4096;
    QHash<QString, Record> m_records;
};

} // namespace server
