#include "app/RememberedCredentials.h"

#include "app/PasswordVault.h"
#include "app/RememberedLogin.h"
#include "service/AppError.h"
#include "service/Conversions.h"

#include <QCoreApplication>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcKeyring, "tipdesk.keyring", QtWarningMsg)

namespace RememberedCredentials {
namespace {

// The keyring's answers may come after the login window is gone: the application is their
// context.
QObject *context()
{
    return QCoreApplication::instance();
}

void keepInFile(const QString &name, const QString &password)
{
    static bool said = false;
    if (!said) {
        said = true;
        qCWarning(lcKeyring).noquote()
            << "no keyring (Secret Service) answered; the remembered password stays in"
            << RememberedLogin::filePath() << "(readable by its owner only)";
    }
    try {
        RememberedLogin::save(name, password);
    } catch (const AppError &) {
        // The file was written a moment ago; if it cannot be now, the password is not kept.
    }
}

// The password into the keyring; where none takes it, into the file beside the name.
void keepPassword(const QString &name, const QString &password)
{
    PasswordVault::write(name, password, context(),
                         [name, password](PasswordVault::Outcome outcome) {
                             if (outcome == PasswordVault::Outcome::Unavailable)
                                 keepInFile(name, password);
                         });
}

} // namespace

std::optional<Recalled> recall()
{
    const auto remembered = RememberedLogin::read();
    if (!remembered)
        return std::nullopt;
    return Recalled {remembered->name, remembered->password};
}

void recallFromKeyring(const QString &name, QObject *context,
                       std::function<void(const QString &password)> found)
{
    PasswordVault::read(
        name, context,
        [found](PasswordVault::Outcome outcome, const std::optional<QString> &password) {
            if (outcome == PasswordVault::Outcome::Done && password)
                found(*password);
        });
}

void remember(const QString &name, const QString &password)
{
    const QString trimmedName = trimmedText(name);
    // The name at once, without the password; the password follows into the keyring.
    RememberedLogin::save(trimmedName, QString());
    keepPassword(trimmedName, trimmedText(password));
}

void forget()
{
    const auto remembered = RememberedLogin::read();
    RememberedLogin::forget();
    if (remembered && !remembered->name.isEmpty())
        PasswordVault::remove(remembered->name, context());
}

void passwordChanged(const QString &name, const QString &password)
{
    const auto remembered = RememberedLogin::read();
    if (!remembered || remembered->name != trimmedText(name))
        return;
    if (remembered->password.isEmpty()) {
        keepPassword(remembered->name, password);
        return;
    }
    try {
        RememberedLogin::save(remembered->name, password); // the file keeps it, as it did
    } catch (const AppError &) {
        // The server holds the new password either way; a stale file only pre-fills the login.
    }
}

} // namespace RememberedCredentials
