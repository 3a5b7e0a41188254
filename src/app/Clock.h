#pragma once

#include <QDate>
#include <QDateTime>

#include <memory>

// Where the client reads the date and time. The system clock by default; tests install a clock of
// their own so that "today" does not change under them at midnight.
class Clock
{
public:
    virtual ~Clock() = default;

    static QDateTime currentDateTime();
    static QDate currentDate();

    // Installs a clock for the whole process; none puts the system clock back.
    static void install(std::unique_ptr<Clock> clock);

protected:
    virtual QDateTime now() const;
};
