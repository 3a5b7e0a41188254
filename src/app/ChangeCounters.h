#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <initializer_list>
#include <optional>
#include <span>

// The change counters: the text of ifchangetable split into the twelve "key=value" entries of
// changeCounters, the same values parsed once into a typed snapshot, and the last-seen values the
// client compares them with.

// The eight counters that have a last-seen value, in the order the poll compares them.
enum class CounterKey { gptjadd, gptjsx, smncadd, smncsx, smjmadd, smjmsx, spzxadd, spzxsx };
constexpr std::array<CounterKey, 8> pollOrder = {
    CounterKey::gptjadd, CounterKey::gptjsx, CounterKey::smncadd, CounterKey::smncsx,
    CounterKey::smjmadd, CounterKey::smjmsx, CounterKey::spzxadd, CounterKey::spzxsx};

QStringView counterName(CounterKey key);

// A set of counters, e.g. those that moved in one poll.
class CounterSet
{
public:
    CounterSet() = default;
    CounterSet(std::initializer_list<CounterKey> keys);

    void insert(CounterKey key) { m_bits |= bit(key); }
    bool contains(CounterKey key) const { return m_bits & bit(key); }
    bool isEmpty() const { return m_bits == 0; }
    // The names of the counters in the set, in poll order.
    QList<QStringView> names() const;

    friend bool operator==(CounterSet, CounterSet) = default;

private:
    static unsigned bit(CounterKey key) { return 1u << unsigned(key); }
    unsigned m_bits = 0;
};

// The counters of the last rebuild, parsed once: each count is empty when its entry is absent or
// not a decimal integer; the bulletin times and titles are the entries' texts.
struct CounterSnapshot
{
    std::array<std::optional<int>, 8> counts;
    std::array<QString, 8> countTexts; // as received, for the error that names a bad value
    QString smncaddsj, smncaddbt, smjmaddsj, smjmaddbt;

    // Raises AppError when the count is absent or not a decimal integer.
    int count(CounterKey key) const;
};

// Splits the counters text into items. Blanks and control characters (codes 1 to 32) separate
// items just as commas do; an item that starts with a double quote runs to its closing quote (a
// doubled quote inside stands for one), so blanks and commas inside it stay; two commas in a row
// give an empty item, and so does a comma that ends the text.
QStringList splitCounterItems(QStringView answer);

// Empties changeCounters and appends the twelve entries read by position from the answer's items,
// then parses them into the snapshot. Raises AppError at the first item the answer lacks; the
// entries appended before it stay (and so do their parsed values).
void rebuildChangeCounters(const QString &answer);

// Empties changeCounters and the snapshot (the login window does this when it is created).
void clearChangeCounters();

// Asks the server for the counters text of the user's level (UserDJ). Raises AppError when the
// call fails.
QString fetchChangeCounters();

// Fetches the counters and rebuilds changeCounters. Raises AppError when the call fails (the list
// then keeps its previous entries) or the answer is short.
void LoadChangeCounters();

// The value of a changeCounters entry; empty text when the key is absent.
QString changeCounterValue(QStringView key);

// The counters of the last rebuild, typed.
const CounterSnapshot &currentCounters();

// The last-seen value (the client global of the same name) of a counter.
int &lastSeenValue(CounterKey key);

// Stores the current values of the keys as last seen, in the order given. Raises AppError at a
// value that is not a decimal integer; the keys before it are stored already.
void storeLastSeenValues(std::span<const CounterKey> keys);
void storeAllLastSeenValues();

// Counter snapshot: LoadChangeCounters, then store the keys as last seen. A window that shows a
// kind of content takes one when it opens, so the next poll raises nothing for what it shows.
void takeCounterSnapshot(std::initializer_list<CounterKey> keys);

// The poll's comparison: each of the eight counters whose value differs from its last-seen value
// is stored at once and reported. While a baseline is required (counterBaselineRequired, a client
// global) all eight are stored and nothing is reported. Raises AppError at a value that is not an
// integer; the keys compared before it keep what was stored.
CounterSet storeMovedCounters();
