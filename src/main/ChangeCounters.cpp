#include "main/ChangeCounters.h"

#include "app/UnitGlouble.h"
#include "service/AppError.h"
#include "service/Conversions.h"
#include "service/WebService.h"

namespace {

bool isSeparator(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 32;
}

// Where each entry's value comes from: one item, or two joined by one blank (the bulletin times,
// which the server writes as date, blank, time of day).
struct CounterEntry
{
    QStringView key;
    int item;
    int secondItem; // 0: none
};

constexpr CounterEntry counterEntries[] = {
    {u"gptjadd", 1, 0},     {u"gptjsx", 2, 0},     {u"smncadd", 3, 0},  {u"smncsx", 4, 0},
    {u"smncaddsj", 5, 6},   {u"smncaddbt", 7, 0},  {u"smjmadd", 8, 0},  {u"smjmsx", 9, 0},
    {u"smjmaddsj", 10, 11}, {u"smjmaddbt", 12, 0}, {u"spzxadd", 13, 0}, {u"spzxsx", 14, 0},
};

bool baselineRequired = false;

} // namespace

QStringList splitCounterItems(QStringView answer)
{
    // A NUL character ends the text, as it ends the service's string on the original platform.
    const qsizetype nul = answer.indexOf(QChar(0));
    const qsizetype end = nul < 0 ? answer.size() : nul;
    QStringList items;
    qsizetype i = 0;
    while (i < end && isSeparator(answer[i]))
        ++i;
    while (i < end) {
        QString item;
        if (answer[i] == u'"') {
            ++i;
            while (i < end) {
                if (answer[i] != u'"') {
                    item += answer[i++];
                } else if (i + 1 < end && answer[i + 1] == u'"') {
                    item += u'"';
                    i += 2;
                } else {
                    ++i; // the closing quote
                    break;
                }
            }
        } else {
            const qsizetype start = i;
            while (i < end && answer[i].unicode() > 32 && answer[i] != u',')
                ++i;
            item = answer.sliced(start, i - start).toString();
        }
        items.append(item);
        while (i < end && isSeparator(answer[i]))
            ++i;
        if (i < end && answer[i] == u',') {
            if (i + 1 == end)
                items.append(QString());
            ++i;
            while (i < end && isSeparator(answer[i]))
                ++i;
        }
    }
    return items;
}

void rebuildChangeCounters(const QString &answer)
{
    const QStringList items = splitCounterItems(answer);
    const auto item = [&](int position) -> const QString & {
        if (position > items.size()) {
            throw AppError(QStringLiteral("服务器返回的变化计数不完整：应有 14 项，只收到 %1 项。")
                               .arg(items.size()));
        }
        return items.at(position - 1);
    };

    changeCounters.clear();
    for (const CounterEntry &entry : counterEntries) {
        QString value = item(entry.item);
        if (entry.secondItem > 0)
            value += u' ' + item(entry.secondItem);
        changeCounters.append(entry.key + u'=' + trimmedText(value));
    }
}

void LoadChangeCounters()
{
    const int level = toInteger(UserDJ);
    const QString answer = NewServiceProxy()->ifchangetable(level);
    rebuildChangeCounters(answer);
}

QString changeCounterValue(QStringView key)
{
    for (const QString &entry : std::as_const(changeCounters)) {
        const qsizetype equals = entry.indexOf(u'=');
        if (equals >= 0 && QStringView(entry).first(equals).compare(key, Qt::CaseInsensitive) == 0)
            return entry.sliced(equals + 1);
    }
    return QString();
}

const QList<QStringView> &lastSeenCounterKeys()
{
    static const QList<QStringView> keys = {u"gptjadd", u"gptjsx", u"smncadd", u"smncsx",
                                            u"smjmadd", u"smjmsx", u"spzxadd", u"spzxsx"};
    return keys;
}

int &lastSeenValue(QStringView key)
{
    struct Slot
    {
        QStringView key;
        int *value;
    };
    static const Slot slots[] = {
        {u"gptjadd", &gptjadd}, {u"gptjsx", &gptjsx}, {u"smncadd", &smncadd}, {u"smncsx", &smncsx},
        {u"smjmadd", &smjmadd}, {u"smjmsx", &smjmsx}, {u"spzxadd", &spzxadd}, {u"spzxsx", &spzxsx}};
    for (const Slot &slot : slots) {
        if (slot.key == key)
            return *slot.value;
    }
    throw AppError(QStringLiteral("未知的变化计数“%1”").arg(key));
}

void storeLastSeenValues(const QList<QStringView> &keys)
{
    for (QStringView key : keys)
        lastSeenValue(key) = toInteger(changeCounterValue(key));
}

void takeCounterSnapshot(std::initializer_list<QStringView> keys)
{
    LoadChangeCounters();
    storeLastSeenValues(QList<QStringView>(keys));
}

void setCounterBaselineRequired(bool required)
{
    baselineRequired = required;
}

bool counterBaselineRequired()
{
    return baselineRequired;
}

QList<QStringView> storeMovedCounters()
{
    if (baselineRequired) {
        storeLastSeenValues(lastSeenCounterKeys());
        baselineRequired = false;
        return {};
    }
    QList<QStringView> moved;
    for (QStringView key : lastSeenCounterKeys()) {
        const int value = toInteger(changeCounterValue(key));
        int &seen = lastSeenValue(key);
        if (value != seen) {
            seen = value;
            moved.append(key);
        }
    }
    return moved;
}
