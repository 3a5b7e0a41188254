#pragma once

#include <QString>

// Changing the logged-in user's password on the server. The checks run in this order and the first
// that fails decides: the new password and its confirmation differ (both trimmed), the new password
// is empty (the login refuses an empty password, so the account would be locked), the old password
// is not the one the user logged in with. Otherwise the statement is sent, and only the server's
// "true" counts as a change.
enum class PasswordChangeOutcome {
    ConfirmationDiffers,
    NewPasswordEmpty,
    OldPasswordWrong,
    Changed,
    Refused,
    CallFailed
};

// After Changed, userpas and userpasUrl hold the new password, and so does the remembered-login
// file when it remembers this user; a failed call is CallFailed, never an exception.
PasswordChangeOutcome changeAccountPassword(const QString &oldPassword, const QString &newPassword,
                                            const QString &confirmation);
