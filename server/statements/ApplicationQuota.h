#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <chrono>

namespace server {

// How many account applications callers may file: the application insert needs no login, so
// without a quota anyone could fill the database with them. One address files PerAddress in
// an hour at most; the operator lists and clears pending ones with the command line.
class ApplicationQuota final
{
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int PerAddress = 20;
    static constexpr std::chrono::hours Window {1};

    bool allows(const QString &address, Clock::time_point now = Clock::now());
    void record(const QString &address, Clock::time_point now = Clock::now());

private:
    void forgetOld(QList<Clock::time_point> &times, Clock::time_point now) const;

    // Addresses followed at most. While every place holds a recent application, a new address
    // is refused rather than let through unfollowed.
    static constexpr qsizetype MaxAddresses = 4096;
    QHash<QString, QList<Clock::time_point>> m_filed; // per address, oldest first
};

} // namespace server
