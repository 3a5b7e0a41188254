#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// The account application window: checks that the requested name is free among the accounts and
// the pending applications, then files the application for the operator to approve.
class TFormZCCT final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormZCCT)

public:
    explicit TFormZCCT(QWidget *parent = nullptr);

    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *Edit1 = nullptr; // user name
    QLineEdit *Edit2 = nullptr; // mobile number
    QLineEdit *Edit3 = nullptr; // password
    QLineEdit *Edit4 = nullptr; // password again
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
};
