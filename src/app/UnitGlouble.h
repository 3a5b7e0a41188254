#pragma once

#include <QString>
#include <QStringList>

// The client globals: process-wide values set at start-up, by the configuration load and by the
// login, read by every window. Texts start empty, integers 0, flags false.

// Configuration (fetched before login).
inline QString gpsysname;
inline QString syszjxx;
inline QString kfqq;
inline bool yhqyhyfj = false; // content queries filter by user level
inline bool ifctzqd = false; // main window stays on top
inline QString hqurl;
inline int khdsxsj = 0; // poll interval, seconds

// Toolbar entries 1..11: caption, page address, show value ("0" shows).
inline QString an1mc, an2mc, an3mc, an4mc, an5mc, an6mc, an7mc, an8mc, an9mc, an10mc, an11mc;
inline QString an1url, an2url, an3url, an4url, an5url, an6url, an7url, an8url, an9url, an10url,
    an11url;
inline QString an1xs, an2xs, an3xs, an4xs, an5xs, an6xs, an7xs, an8xs, an9xs, an10xs, an11xs;

// Toolbar entry n (1..11) by position, for code that walks the toolbar.
QString &anmc(int n);
QString &anurl(int n);
QString &anxs(int n);
constexpr int toolbarEntryCount = 11;

// The logged-in user.
inline QString userid;
inline QString username;
inline QString userpas;
inline QString UserDJ;
inline QString usernameUrl;
inline QString userpasUrl;

inline QString programDir; // ends with "/"
inline QString loginStamp;
inline bool forcedOffline = false;

// Change counters: "key=value" entries, and the last-seen values.
inline QStringList changeCounters;
// Set when the main window could not read the counters at show time: the first poll that can then
// takes all eight values as seen instead of reporting every counter as moved.
inline bool counterBaselineRequired = false;
inline int gptjadd = 0, gptjsx = 0, smncadd = 0, smncsx = 0, smjmadd = 0, smjmsx = 0, spzxadd = 0,
           spzxsx = 0;

// Window-open flags.
inline bool smncOpen = false;
inline bool wysmncOpen = false;
inline bool wysmjmOpen = false;

// Back to the values of a fresh process (tests run several start-ups in one process).
void resetClientGlobals();
