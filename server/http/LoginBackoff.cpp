#include "http/LoginBackoff.h"

namespace server {

namespace {

// Failures kept per address: enough to reach the longest delay.
constexpr qsizetype KeptFailures = LoginBackoff::FreeFailures + 8;

} // namespace

void LoginBackoff::forgetOld(Record &record, Clock::time_point now)
{
    while (!record.failures.isEmpty() && now - record.failures.constFirst() > Window)
        record.failures.removeFirst();
}

LoginBackoff::Turn LoginBackoff::book(const QString &address, Clock::time_point now)
{
    const auto found = m_records.find(address);
    if (found == m_records.end())
        return {};
    Record &record = *found;
    forgetOld(record, now);
    const qsizetype beyond = record.failures.size() - FreeFailures;
    if (beyond < 0)
        return {};
    if (record.waiting >= MaxWaitingPerAddress || m_waiting >= MaxWaiting)
        return {Admission::Refused};
    const std::chrono::milliseconds delay =
        beyond >= 5 ? MaxDelay : std::min(MaxDelay, FirstDelay * (1 << beyond));
    record.nextTurn = std::max(now, record.nextTurn) + delay;
    ++record.waiting;
    ++m_waiting;
    return {Admission::Later,
            std::chrono::duration_cast<std::chrono::milliseconds>(record.nextTurn - now)};
}

void LoginBackoff::leave(const QString &address)
{
    // A record with waiting checks is never dropped, so it is still there.
    const auto found = m_records.find(address);
    if (found == m_records.end() || found->waiting == 0)
        return;
    --found->waiting;
    --m_waiting;
}

void LoginBackoff::recordFailure(const QString &address, Clock::time_point now)
{
    if (m_records.size() >= MaxAddresses && !m_records.contains(address)) {
        for (auto it = m_records.begin(); it != m_records.end();) {
            forgetOld(*it, now);
            const bool idle = it->failures.isEmpty() && it->waiting == 0 && it->nextTurn < now;
            it = idle ? m_records.erase(it) : ++it;
        }
        if (m_records.size() >= MaxAddresses)
            return;
    }
    Record &record = m_records[address];
    forgetOld(record, now);
    record.failures.append(now);
    if (record.failures.size() > KeptFailures)
        record.failures.removeFirst();
}

} // namespace server
