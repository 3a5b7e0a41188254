#pragma once

#include "http/HttpReply.h"
#include "http/LoginBackoff.h"

#include <QString>

#include <functional>

namespace server {

class HttpConnection;
class SqliteDatabase;

// A request that tells a right password from a wrong one.
struct PasswordTest
{
    QString address; // the caller's
    QString name;
    QString password;
    std::function<HttpReply()> answer; // the request's own answer, run when the password is right
    HttpReply refusal; // what a wrong password gets
};

// Every request that tests a password (yanzheng, hqdlyhxx and the two bulletin pages) goes
// through here, so that all of them count failures and share one back-off per address. A check
// that must wait keeps only the name and password (never its request) and goes with its
// connection; one that may not wait gets the wrong password's answer at once.
class PasswordChecks final
{
public:
    explicit PasswordChecks(SqliteDatabase &db) : m_db(db) { }

    void submit(HttpConnection &connection, PasswordTest test);

private:
    friend class WaitingCheck;
    HttpReply run(const PasswordTest &test);

    SqliteDatabase &m_db;
    LoginBackoff m_backoff;
};

} // namespace server
