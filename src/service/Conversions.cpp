#include "service/Conversions.h"

#include "service/AppError.h"

QStringView trimmedView(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.sliced(begin, end - begin);
}

QString trimmedText(const QString &text)
{
    const QStringView view = trimmedView(text);
    return view.size() == text.size() ? text : view.toString();
}

bool toBoolean(const QString &text)
{
    const QStringView value = trimmedView(text);
    if (value.compare(u"true", Qt::CaseInsensitive) == 0)
        return true;
    if (value.compare(u"false", Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok)
        throw AppError(QStringLiteral("“%1”不是有效的布尔值").arg(value));
    return number != 0.0;
}

int toInteger(const QString &text)
{
    const QStringView value = trimmedView(text);
    bool ok = false;
    const int number = value.toInt(&ok, 10);
    if (!ok)
        throw AppError(QStringLiteral("“%1”不是有效的整数").arg(value));
    return number;
}
