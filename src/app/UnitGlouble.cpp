#include "app/UnitGlouble.h"

#include "app/ChangeCounters.h"

#include <array>

namespace {
std::array<QString *, toolbarEntryCount> captions = {
    &an1mc, &an2mc, &an3mc, &an4mc, &an5mc, &an6mc, &an7mc, &an8mc, &an9mc, &an10mc, &an11mc};
std::array<QString *, toolbarEntryCount> addresses = {&an1url, &an2url,  &an3url, &an4url,
                                                      &an5url, &an6url,  &an7url, &an8url,
                                                      &an9url, &an10url, &an11url};
std::array<QString *, toolbarEntryCount> showValues = {
    &an1xs, &an2xs, &an3xs, &an4xs, &an5xs, &an6xs, &an7xs, &an8xs, &an9xs, &an10xs, &an11xs};

QString &entry(const std::array<QString *, toolbarEntryCount> &table, int n)
{
    Q_ASSERT(n >= 1 && n <= toolbarEntryCount);
    return *table[std::size_t(n - 1)];
}
} // namespace

QString &anmc(int n)
{
    return entry(captions, n);
}

QString &anurl(int n)
{
    return entry(addresses, n);
}

QString &anxs(int n)
{
    return entry(showValues, n);
}

void resetClientGlobals()
{
    for (QString *text : {&gpsysname, &syszjxx, &kfqq, &hqurl, &userid, &username, &userpas,
                          &UserDJ, &usernameUrl, &userpasUrl, &programDir, &loginStamp})
        text->clear();
    for (int n = 1; n <= toolbarEntryCount; ++n) {
        anmc(n).clear();
        anurl(n).clear();
        anxs(n).clear();
    }
    yhqyhyfj = ifctzqd = forcedOffline = counterBaselineRequired = false;
    smncOpen = wysmncOpen = wysmjmOpen = false;
    khdsxsj = 0;
    clearChangeCounters();
    for (int *value : {&gptjadd, &gptjsx, &smncadd, &smncsx, &smjmadd, &smjmsx, &spzxadd, &spzxsx})
        *value = 0;
}
