#pragma once

#include <QObject>

class QSocketNotifier;

namespace server {

// Turns SIGTERM and SIGINT into an orderly QCoreApplication::quit(), so the server closes its
// database (checkpointing the WAL) when asked to stop. The handler only writes one byte to a
// pipe; the event loop does the rest.
class SignalQuit final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SignalQuit)
public:
    explicit SignalQuit(QObject *parent = nullptr);
    ~SignalQuit() override;

private:
    static void handle(int signal);
    static inline int s_pipe[2] = {-1, -1};
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace server
