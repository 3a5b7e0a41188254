#pragma once

#include <QFrame>

// Shown over a web window's browser when the engine's process that drew the page has ended
// (crashed, killed, out of memory): says so and offers to load the page again.
class WebWindowCrashPanel final : public QFrame
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WebWindowCrashPanel)

public:
    explicit WebWindowCrashPanel(QWidget *parent);

Q_SIGNALS:
    void reloadRequested();
};
