#include "cli/PasswordInput.h"

#include <QByteArray>

#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace server {

namespace PasswordInput {

namespace {

// Turns terminal echo off for as long as it lives.
class EchoOff final
{
public:
    EchoOff()
    {
        m_active = ::tcgetattr(STDIN_FILENO, &m_saved) == 0;
        if (!m_active)
            return;
        termios quiet = m_saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    ~EchoOff()
    {
        if (m_active)
            ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_saved);
    }
    EchoOff(const EchoOff &) = delete;
    EchoOff &operator=(const EchoOff &) = delete;

private:
    termios m_saved {};
    bool m_active = false;
};

QByteArray readLine()
{
    QByteArray line;
    for (int c = std::fgetc(stdin); c != EOF && c != '\n'; c = std::fgetc(stdin))
        line.append(char(c));
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

} // namespace

QString read(const QString &prompt)
{
    if (!::isatty(STDIN_FILENO))
        return QString::fromUtf8(readLine());
    std::fputs(prompt.toUtf8().constData(), stderr);
    std::fflush(stderr);
    QByteArray line;
    {
        const EchoOff echoOff;
        line = readLine();
    }
    std::fputs("\n", stderr);
    return QString::fromUtf8(line);
}

} // namespace PasswordInput

} // namespace server
