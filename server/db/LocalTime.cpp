#include "db/LocalTime.h"

namespace server {

namespace LocalTime {

QString secondsText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QString millisecondsText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
}

QString dayStartText(QDate day)
{
    return day.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00");
}

QString dateText(QDate day)
{
    return day.toString(QStringLiteral("yyyy-MM-dd"));
}

std::optional<QDateTime> parseOperatorTime(const QString &text)
{
    const QDateTime time = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (!time.isValid() || secondsText(time) != text)
        return std::nullopt;
    return time;
}

QString xmlDateTime(const QString &stored)
{
    QDateTime time;
    if (stored.size() == 10)
        time = QDateTime(QDate::fromString(stored, QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
    else if (stored.size() > 19)
        time = QDateTime::fromString(stored, QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
    else
        time = QDateTime::fromString(stored, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (!time.isValid())
        return stored;

    QString text = time.toString(QStringLiteral("yyyy-MM-ddThh:mm:ss"));
    if (const int ms = time.time().msec()) {
        QString fraction = QStringLiteral("%1").arg(ms, 3, 10, QLatin1Char('0'));
        while (fraction.endsWith(QLatin1Char('0')))
            fraction.chop(1);
        text += QLatin1Char('.') + fraction;
    }
    const int offset = time.offsetFromUtc();
    const int minutes = qAbs(offset) / 60;
    text += QStringLiteral("%1%2:%3")
                .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                .arg(minutes % 60, 2, 10, QLatin1Char('0'));
    return text;
}

} // namespace LocalTime

} // namespace server
