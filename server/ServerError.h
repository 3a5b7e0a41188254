#pragma once

#include <QString>

#include <stdexcept>

namespace server {

// A failure whose text is meant for whoever caused it: the operator at the command line or the
// client in a SOAP fault. It never carries a password.
class ServerError : public std::runtime_error
{
public:
    explicit ServerError(const QString &message) : std::runtime_error(message.toStdString()) { }
    QString message() const { return QString::fromStdString(what()); }
};

// The database refused a write because of a constraint, e.g. a duplicate key.
class ConstraintError final : public ServerError
{
public:
    using ServerError::ServerError;
};

// A statement text that matches none of the shapes the client sends.
class StatementRefused final : public ServerError
{
public:
    StatementRefused() : ServerError(QStringLiteral("Statement is not allowed.")) { }
};

// Wrong use of the command line; the command prints its usage after the message.
class UsageError final : public ServerError
{
public:
    using ServerError::ServerError;
};

} // namespace server
