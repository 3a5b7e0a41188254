#include "account/PasswordChange.h"

#include "app/RememberedCredentials.h"
#include "app/UnitGlouble.h"
#include "service/AppError.h"
#include "service/Conversions.h"
#include "service/Statements.h"
#include "service/URLCodeChange.h"
#include "service/WebService.h"

namespace {
void adoptNewPassword(const QString &password)
{
    userpas = password;
    userpasUrl = EncodeUrlComponent(password.toUtf8(), true);
    // The remembered login must not keep a password the server no longer accepts; one that
    // remembers someone else, or none at all, is left as it is.
    RememberedCredentials::passwordChanged(username, password);
}
} // namespace

PasswordChangeOutcome changeAccountPassword(const QString &oldPassword, const QString &newPassword,
                                            const QString &confirmation)
{
    const QString password = trimmedText(newPassword);
    if (password != trimmedText(confirmation))
        return PasswordChangeOutcome::ConfirmationDiffers;
    if (password.isEmpty())
        return PasswordChangeOutcome::NewPasswordEmpty;
    if (trimmedText(oldPassword) != trimmedText(userpas))
        return PasswordChangeOutcome::OldPasswordWrong;
    QString answer;
    try {
        answer =
            NewServiceProxy()->zhixing(Statements::changePassword(password, trimmedText(userid)));
    } catch (const std::exception &) {
        return PasswordChangeOutcome::CallFailed;
    }
    if (trimmedText(answer) != QLatin1String("true"))
        return PasswordChangeOutcome::Refused;
    adoptNewPassword(password);
    return PasswordChangeOutcome::Changed;
}
