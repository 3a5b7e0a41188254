#pragma once

#include <QString>
#include <exception>

// The one failure type of the client. Its text is what the user sees when a failure reaches the
// general error report, so it is written for the user.
class AppError : public std::exception
{
public:
    explicit AppError(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) { }
    const QString &text() const noexcept { return m_text; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};
