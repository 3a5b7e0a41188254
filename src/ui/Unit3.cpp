#include "ui/Unit3.h"

#include <QLayout>
#include <QVBoxLayout>

namespace {
constexpr QSize designedClientSize(688, 447);
}

Tmain::Tmain(QWidget *owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("main"));
    resize(designedClientSize);
}

Tmain::Tmain(HostedIn host) : QWidget(host.panel), m_hosted(true)
{
    // Frameless and filling the panel before anything is built on it.
    QLayout *layout = host.panel->layout();
    if (!layout) {
        layout = new QVBoxLayout(host.panel);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
    }
    layout->addWidget(this);
}

CurrentContentWindow::~CurrentContentWindow()
{
    delete m_window.data();
}

void CurrentContentWindow::replace(const std::function<Tmain *()> &build)
{
    delete m_window.data();
    m_window = nullptr;
    m_window = build();
    if (m_window)
        m_window->show();
}
