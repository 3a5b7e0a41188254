#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

// The settings window: the password change, the alert sound and the about page, one tab each.
// It only displays and reacts; the change of password and of sound are core units beside it.
class TFormXTSZ : public QDialog
{
    Q_OBJECT

public:
    // playSound plays the alert sound in use: after it was replaced, and on the sound page's
    // "试听" (without it that button is disabled).
    explicit TFormXTSZ(QWidget *parent = nullptr, std::function<void()> playSound = {});

    void Button1Click();
    void Button4Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildPasswordPage();
    QWidget *buildSoundPage();
    QWidget *buildAboutPage();
    void FormCreate();

    std::function<void()> m_playSound;
    QTabWidget *RzPageControl1 = nullptr;
    QLineEdit *Edit1 = nullptr; // old password
    QLineEdit *Edit2 = nullptr; // new password
    QLineEdit *Edit3 = nullptr; // new password again
    QLabel *Label5 = nullptr; // support number
    QLabel *Label8 = nullptr; // system name
};

// Toolbar position 11: the settings window, shown modally and freed when it closes.
void openSettingsWindow(QWidget *mainWindow, std::function<void()> playSound = {});
