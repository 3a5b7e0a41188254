#pragma once

#include <QString>

// The login watch decided without a window: does the user's login row still carry the stamp this
// client got at login? Another login rewrites the stamp (or the row is gone); a failing call is
// never a takeover.
enum class LoginWatchVerdict { SameLogin, TakenOver, Unreachable };

struct LoginWatchResult
{
    LoginWatchVerdict verdict = LoginWatchVerdict::SameLogin;
    QString failure; // why the server could not be asked, for the general error report
};

// The comparison: exact text, nothing trimmed.
LoginWatchVerdict compareLoginStamps(const QString &answer, const QString &stamp);

// Asks the server (hqdlsj for userid) and compares the answer with loginStamp.
LoginWatchResult watchLogin();
