#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <initializer_list>

// The change counters: the text of ifchangetable split into the twelve "key=value" entries of
// changeCounters, and the last-seen values the client compares them with.

// Splits the counters text into items. Blanks and control characters (codes 1 to 32) separate
// items just as commas do; an item that starts with a double quote runs to its closing quote (a
// doubled quote inside stands for one), so blanks and commas inside it stay; two commas in a row
// give an empty item, and so does a comma that ends the text.
QStringList splitCounterItems(QStringView answer);

// Empties changeCounters and appends the twelve entries read by position from the answer's items.
// Raises AppError at the first item the answer lacks; the entries appended before it stay.
void rebuildChangeCounters(const QString &answer);

// Fetches the counters for the user's level (UserDJ) and rebuilds changeCounters. Raises AppError
// when the call fails (the list then keeps its previous entries) or the answer is short.
void LoadChangeCounters();

// The value of a changeCounters entry; empty text when the key is absent.
QString changeCounterValue(QStringView key);

// The eight counters that have a last-seen value, in the order the poll compares them.
const QList<QStringView> &lastSeenCounterKeys();

// The last-seen value (the client global of the same name) of one of those eight keys.
int &lastSeenValue(QStringView key);

// Stores the integer values of the keys' entries as last seen, in the order given. Raises AppError
// at a value that is not a decimal integer; the keys before it are stored already.
void storeLastSeenValues(const QList<QStringView> &keys);

// Counter snapshot: LoadChangeCounters, then store the keys as last seen. A window that shows a
// kind of content takes one when it opens, so the next poll raises nothing for what it shows.
void takeCounterSnapshot(std::initializer_list<QStringView> keys);

// When the main window could not read the counters at show time, the first poll that can takes
// all eight values as its baseline instead of reporting every counter as moved.
void setCounterBaselineRequired(bool required);
bool counterBaselineRequired();

// The poll's comparison: each of the eight counters whose value differs from its last-seen value
// is stored at once and reported, in order. While a baseline is required all eight are stored and
// nothing is reported. Raises AppError at a value that is not an integer; the keys compared before
// it keep what was stored.
QList<QStringView> storeMovedCounters();
