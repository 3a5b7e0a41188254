#include "http/PasswordChecks.h"

#include "db/Accounts.h"
#include "http/HttpConnection.h"

#include <QTimer>

namespace server {

// A check waiting for its turn. It belongs to its connection, so a caller that goes away takes
// its check along and frees its place in the waiting room.
class WaitingCheck final : public QObject
{
public:
    WaitingCheck(HttpConnection &connection, PasswordChecks &checks, PasswordTest test,
                 std::chrono::milliseconds delay)
        : QObject(&connection), m_connection(connection), m_checks(checks), m_test(std::move(test))
    {
        m_turn.setSingleShot(true);
        connect(&m_turn, &QTimer::timeout, this, &WaitingCheck::run);
        m_turn.start(delay);
    }
    ~WaitingCheck() override { leave(); }

private:
    void run()
    {
        leave();
        HttpReply reply;
        try {
            reply = m_checks.run(m_test);
        } catch (const std::exception &) {
            // Nothing may escape into the event loop.
            reply = HttpReply::serverError();
        }
        m_connection.answer(reply);
        deleteLater();
    }

    void leave()
    {
        if (!m_left)
            m_checks.m_backoff.leave(m_test.address);
        m_left = true;
    }

    HttpConnection &m_connection;
    PasswordChecks &m_checks;
    PasswordTest m_test;
    QTimer m_turn;
    bool m_left = false;
};

void PasswordChecks::submit(HttpConnection &connection, PasswordTest test)
{
    if (!Accounts::withinBounds(test.name, test.password)) {
        // No account has such a name or password: a guess, answered at once.
        m_backoff.recordFailure(test.address);
        connection.answer(test.refusal);
        return;
    }
    const LoginBackoff::Turn turn = m_backoff.book(test.address);
    switch (turn.admission) {
    case LoginBackoff::Admission::Now:
        connection.answer(run(test));
        break;
    case LoginBackoff::Admission::Later:
        new WaitingCheck(connection, *this, std::move(test), turn.delay);
        break;
    case LoginBackoff::Admission::Refused:
        connection.answer(test.refusal);
        break;
    }
}

HttpReply PasswordChecks::run(const PasswordTest &test)
{
    if (Accounts::verify(m_db, test.name, test.password))
        return test.answer();
    m_backoff.recordFailure(test.address);
    return test.refusal;
}

} // namespace server
