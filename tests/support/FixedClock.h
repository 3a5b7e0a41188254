#pragma once

#include "app/Clock.h"

// A client clock that stands still, for tests whose server runs at the same fixed time: "today"
// is then the same day for both, whenever the test runs.
class FixedClock final : public Clock
{
public:
    explicit FixedClock(QDateTime now) : m_now(std::move(now)) { }

protected:
    QDateTime now() const override { return m_now; }

private:
    QDateTime m_now;
};
