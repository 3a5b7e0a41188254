#pragma once

#include <QDialog>

// The login window. Its creation loads the system configuration; a load that fails makes the
// window close by itself with Cancel.
class TFrmLogin : public QDialog
{
    Q_OBJECT

public:
    explicit TFrmLogin(QWidget *parent = nullptr);

    int exec() override;

private:
    void FormCreate();

    bool m_terminationRequested = false;
};
