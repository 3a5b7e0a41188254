#pragma once

#include <QString>

#include <functional>
#include <optional>

class QObject;

// The desktop's keyring (the Secret Service of GNOME Keyring or KWallet, through QtKeychain) for
// the remembered password, kept under the server's address and the user's name. Every request is
// asynchronous and time-limited, so a keyring that is locked behind a prompt nobody answers, or
// absent, never holds up a window: the answer then is "unavailable". Answers arrive on the
// context's thread, and not at all once the context is gone.
namespace PasswordVault {

enum class Outcome {
    Done, // the keyring did what was asked (a read may still have found nothing)
    Unavailable, // no keyring answered in time, or it refused
};

using ReadAnswer = std::function<void(Outcome, const std::optional<QString> &password)>;
using WriteAnswer = std::function<void(Outcome)>;

void read(const QString &name, QObject *context, ReadAnswer answer);
void write(const QString &name, const QString &password, QObject *context, WriteAnswer answer);
void remove(const QString &name, QObject *context, WriteAnswer answer = {});

// How long a request may take before it counts as unavailable (tests shorten it).
void setTimeLimit(int milliseconds);

} // namespace PasswordVault
