#include "db/ServerClock.h"

#include "db/LocalTime.h"

namespace server {

namespace ServerClock {

namespace {

std::unique_ptr<Clock> clockFromEnvironment()
{
    const std::optional<QDateTime> fixed =
        LocalTime::parseOperatorTime(qEnvironmentVariable(FixedNowVariable));
    if (fixed)
        return std::make_unique<FixedClock>(*fixed);
    return std::make_unique<SystemClock>();
}

std::unique_ptr<Clock> &installed()
{
    static std::unique_ptr<Clock> clock = clockFromEnvironment();
    return clock;
}

} // namespace

const Clock &current()
{
    return *installed();
}

void install(std::unique_ptr<Clock> clock)
{
    installed() = std::move(clock);
}

} // namespace ServerClock

} // namespace server
