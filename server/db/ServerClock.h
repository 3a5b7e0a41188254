#pragma once

#include <QDateTime>

#include <memory>

namespace server {

// Where the server reads the time: Jet's now() and date(), "today" of the day conditions, login
// stamps and the default time of a publish.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0; // local time
};

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// A clock that stands still at a set time, so that tests do not depend on the wall clock (a
// test running across midnight would see "today" change under it).
class FixedClock final : public Clock
{
public:
    explicit FixedClock(const QDateTime &time) : m_time(time) { }
    void set(const QDateTime &time) { m_time = time; }
    QDateTime now() const override { return m_time; }

private:
    QDateTime m_time;
};

namespace ServerClock {

// The environment variable that fixes the clock of every server process, for tests:
// local time "yyyy-MM-dd hh:mm:ss".
inline constexpr char FixedNowVariable[] = "TIPDESK_SERVER_FIXED_NOW";

// The system clock, or a FixedClock when the variable above holds a valid time.
const Clock &current();
// Replaces the clock (in-process tests).
void install(std::unique_ptr<Clock> clock);

inline QDateTime now()
{
    return current().now();
}
inline QDate today()
{
    return current().now().date();
}

} // namespace ServerClock

} // namespace server
