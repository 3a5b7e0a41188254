#pragma once

#include <QString>

// An application for an account, as the server decides it. The checks run in this order and the
// first that fails decides: an empty name, the passwords differ, the name belongs to an account,
// the name is already applied for. Otherwise the application is stored, and only the server's
// "true" counts as stored.
enum class ApplicationOutcome {
    EmptyName,
    PasswordsDiffer,
    NameTaken,
    AlreadyApplied,
    Filed,
    NotFiled
};

// Raises AppError when one of the two look-ups fails; a failing insert is NotFiled.
ApplicationOutcome applyForAccount(const QString &name, const QString &mobile,
                                   const QString &password, const QString &confirmation);
