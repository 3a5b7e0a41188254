#pragma once

#include <QString>

#include <functional>
#include <optional>

class QObject;

// What the login window remembers when 记住用户名密码 is ticked: the name in "gpxxjl.qzd" (three
// lines as always), the password in the desktop's keyring where one answers, with the file's
// password line left empty. Where no keyring answers (a bare X session, a locked or refused one),
// the file keeps the password as before, readable by its owner only, and standard error says so
// once. A file that still holds a password moves it to the keyring at the next remembering.
namespace RememberedCredentials {

struct Recalled
{
    QString name;
    QString password; // empty when it is kept in the keyring
};

// What the file holds, at once; none without a usable file.
std::optional<Recalled> recall();

// The password the keyring keeps for this name, asked without waiting: the answer comes later,
// and only when the keyring has one.
void recallFromKeyring(const QString &name, QObject *context,
                       std::function<void(const QString &password)> found);

// Remembers the name and password (trimmed). Raises AppError when the file cannot be written; the
// keyring part finishes later by itself.
void remember(const QString &name, const QString &password);

// Forgets the remembered name and its keyring entry. Raises AppError when the file cannot be
// removed.
void forget();

// The password changed on the server: a remembered password of this user follows, where it is.
void passwordChanged(const QString &name, const QString &password);

} // namespace RememberedCredentials
