#pragma once

#include <QString>

// The server side of a login: the credential check, the account record, the user's row of the
// login table and the login stamp. Each raises AppError when its call fails.
namespace LoginRecord {

// yanzheng's answer by the boolean rule.
bool credentialsValid(const QString &name, const QString &password);

// Fills userid, username, userpas, usernameUrl, userpasUrl and UserDJ from the account record.
void loadAccountRecord(const QString &name, const QString &password);

// Inserts the user's login row, or rewrites it when one exists, with the server's time and the
// public address; never two rows for one user.
void writeLoginRow();

// The server's text for the user's current login.
QString currentLoginStamp();

// The same as the login watch asks it, for the trimmed userid.
QString watchedLoginStamp();

// At the end of the program: deletes the user's login row, unless another login took it over
// (forcedOffline) or nobody logged in. Failures are discarded: the program is ending.
void deleteLoginRow();

// The caller's public address as the operator's server sees it ("qzIP.aspx"): the body of a 200
// answer, an empty text for any other status, "0.0.0.0" when the page cannot be reached.
QString GetPublicIPAddress();

} // namespace LoginRecord
