#pragma once

#include <QString>

// The address of a bulletin page on the operator's server: the server's base, the page, then the
// user's level and the URL-encoded name and password computed at login (usernameUrl, userpasUrl).
enum class BulletinPage { First, Second }; // "qzGongGaoXinXi.aspx", "qzGongGaoSiMi.aspx"

QString bulletinAddress(BulletinPage page);
