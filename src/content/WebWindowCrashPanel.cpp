#include "content/WebWindowCrashPanel.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

WebWindowCrashPanel::WebWindowCrashPanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("CrashPanel"));
    setAutoFillBackground(true);
    auto *text = new QLabel(QStringLiteral("显示网页的进程意外结束了（崩溃、被终止或内存不足），"
                                           "页面无法继续显示。"),
                            this);
    text->setObjectName(QStringLiteral("CrashText"));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);
    auto *reload = new QPushButton(QStringLiteral("重新加载"), this);
    reload->setObjectName(QStringLiteral("ReloadButton"));
    connect(reload, &QPushButton::clicked, this, &WebWindowCrashPanel::reloadRequested);
    auto *layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(text);
    layout->addWidget(reload, 0, Qt::AlignCenter);
    layout->addStretch();
    hide();
}
