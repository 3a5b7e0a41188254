#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

// Where a content window is embedded: the main window's host panel.
struct HostedIn
{
    QWidget *panel;
};

// The base of every content window the main window hosts. Built free-standing it is an ordinary
// window; built hosted it has no frame, becomes a child of the host panel and fills it, following
// the panel's size.
class Tmain : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tmain)

public:
    explicit Tmain(QWidget *owner = nullptr);
    explicit Tmain(HostedIn host);

    bool isHosted() const { return m_hosted; }

    // Reloads the page a web window shows (the poll does this for the bulletin windows); a window
    // without a page has nothing to reload.
    virtual void refreshPage() { }

private:
    bool m_hosted = false;
};

// The one content window embedded in the main window at a time; none before the first is opened.
class CurrentContentWindow
{
public:
    CurrentContentWindow() = default;
    ~CurrentContentWindow();
    CurrentContentWindow(const CurrentContentWindow &) = delete;
    CurrentContentWindow &operator=(const CurrentContentWindow &) = delete;

    Tmain *window() const { return m_window; }

    // Destroys the current window (its destructor clears its open flag), then builds the next
    // one, makes it current and shows it. If building fails there is no current window afterwards.
    void replace(const std::function<Tmain *()> &build);

private:
    QPointer<Tmain> m_window;
};
