#pragma once

#include <QWidget>

class QFrame;

// The main window: created hidden at start-up, shown after a successful login.
class TFrmMain : public QWidget
{
    Q_OBJECT

public:
    explicit TFrmMain(QWidget *parent = nullptr);

private:
    void FormCreate();

    QFrame *Panel8 = nullptr;
    QWidget *hostPanel = nullptr;
};
