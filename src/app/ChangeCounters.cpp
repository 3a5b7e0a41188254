#include "app/ChangeCounters.h"

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

constexpr QStringView counterNames[] = {u"gptjadd", u"gptjsx", u"smncadd", u"smncsx",
                                        u"smjmadd", u"smjmsx", u"spzxadd", u"spzxsx"};

CounterSnapshot snapshot;

std::optional<int> parsedCount(const QString &text)
{
    try {
        return toInteger(text);
    } catch (const AppError &) {
        return std::nullopt;
    }
}

CounterSnapshot parseEntries()
{
    CounterSnapshot parsed;
    for (CounterKey key : pollOrder) {
        const QString text = changeCounterValue(counterName(key));
        parsed.countTexts[std::size_t(key)] = text;
        parsed.counts[std::size_t(key)] = parsedCount(text);
    }
    parsed.smncaddsj = changeCounterValue(u"smncaddsj");
    parsed.smncaddbt = changeCounterValue(u"smncaddbt");
    parsed.smjmaddsj = changeCounterValue(u"smjmaddsj");
    parsed.smjmaddbt = changeCounterValue(u"smjmaddbt");
    return parsed;
}

} // namespace

QStringView counterName(CounterKey key)
{
    return counterNames[std::size_t(key)];
}

CounterSet::CounterSet(std::initializer_list<CounterKey> keys)
{
    for (CounterKey key : keys)
        insert(key);
}

QList<QStringView> CounterSet::names() const
{
    QList<QStringView> names;
    for (CounterKey key : pollOrder) {
        if (contains(key))
            names.append(counterName(key));
    }
    return names;
}

int CounterSnapshot::count(CounterKey key) const
{
    const std::optional<int> &value = counts[std::size_t(key)];
    // The conversion's own error names the text that did not convert.
    return value ? *value : toInteger(countTexts[std::size_t(key)]);
}

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
            snapshot = parseEntries(); // what was appended before the missing item
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
    snapshot = parseEntries();
}

void clearChangeCounters()
{
    changeCounters.clear();
    snapshot = CounterSnapshot();
}

QString fetchChangeCounters()
{
    const int level = toInteger(UserDJ);
    return NewServiceProxy()->ifchangetable(level);
}

void LoadChangeCounters()
{
    rebuildChangeCounters(fetchChangeCounters());
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

const CounterSnapshot &currentCounters()
{
    return snapshot;
}

int &lastSeenValue(CounterKey key)
{
    static int *const values[] = {&gptjadd, &gptjsx, &smncadd, &smncsx,
                                  &smjmadd, &smjmsx, &spzxadd, &spzxsx};
    return *values[std::size_t(key)];
}

void storeLastSeenValues(std::span<const CounterKey> keys)
{
    for (CounterKey key : keys)
        lastSeenValue(key) = snapshot.count(key);
}

void storeAllLastSeenValues()
{
    storeLastSeenValues(pollOrder);
}

void takeCounterSnapshot(std::initializer_list<CounterKey> keys)
{
    LoadChangeCounters();
    storeLastSeenValues(std::span(keys.begin(), keys.size()));
}

CounterSet storeMovedCounters()
{
    if (counterBaselineRequired) {
        storeAllLastSeenValues();
        counterBaselineRequired = false;
        return {};
    }
    CounterSet moved;
    for (CounterKey key : pollOrder) {
        const int value = snapshot.count(key);
        int &seen = lastSeenValue(key);
        if (value != seen) {
            seen = value;
            moved.insert(key);
        }
    }
    return moved;
}
