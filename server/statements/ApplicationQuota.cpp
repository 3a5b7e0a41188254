#include "statements/ApplicationQuota.h"

namespace server {

void ApplicationQuota::forgetOld(QList<Clock::time_point> &times, Clock::time_point now) const
{
    while (!times.isEmpty() && now - times.constFirst() >= Window)
        times.removeFirst();
}

bool ApplicationQuota::allows(const QString &address, Clock::time_point now)
{
    const auto found = m_filed.find(address);
    if (found != m_filed.end()) {
        forgetOld(*found, now);
        return found->size() < PerAddress;
    }
    if (m_filed.size() < MaxAddresses)
        return true;
    for (auto it = m_filed.begin(); it != m_filed.end();) {
        forgetOld(*it, now);
        it = it->isEmpty() ? m_filed.erase(it) : ++it;
    }
    return m_filed.size() < MaxAddresses;
}

void ApplicationQuota::record(const QString &address, Clock::time_point now)
{
    QList<Clock::time_point> &times = m_filed[address];
    forgetOld(times, now);
    times.append(now);
}

} // namespace server
