#include "app/Clock.h"

namespace {
std::unique_ptr<Clock> &installed()
{
    static std::unique_ptr<Clock> clock = std::make_unique<Clock>();
    return clock;
}
} // namespace

QDateTime Clock::currentDateTime()
{
    return installed()->now();
}

QDate Clock::currentDate()
{
    return currentDateTime().date();
}

void Clock::install(std::unique_ptr<Clock> clock)
{
    installed() = clock ? std::move(clock) : std::make_unique<Clock>();
}

QDateTime Clock::now() const
{
    return QDateTime::currentDateTime();
}
