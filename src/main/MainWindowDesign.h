#pragma once

#include <QList>

class MarqueeStatus;
class QFrame;
class QIcon;
class QLabel;
class QTimer;
class QToolButton;
class QWidget;

// The main window's design, built as its controls: the picture header with the eleven toolbar
// buttons and the user's name and level, and the footer with its picture strips and notice line.
// The controls carry their design names as object names.

constexpr int toolbarButtonWidth = 68;
constexpr int toolbarButtonTop = 14;

struct MainHeader
{
    QFrame *Panel7 = nullptr;
    QLabel *Image1 = nullptr; // the picture, stretched over the header; also the drag handle
    QList<QToolButton *> toolbar; // by position 1..11, with the designed captions and left edges
    QLabel *Label5 = nullptr; // "用户名称："
    QLabel *Label6 = nullptr; // "用户等级："
    QLabel *Label8 = nullptr; // the user's name
    QLabel *Label9 = nullptr; // the user's level
};
MainHeader buildMainHeader(QWidget *window);

struct MainFooter
{
    QFrame *Panel9 = nullptr;
    MarqueeStatus *RzMarqueeStatus1 = nullptr;
    QLabel *trayHint = nullptr; // beside the notice line, hidden unless there is no tray
    QToolButton *quietSwitch = nullptr; // "免打扰", checkable, at the footer's right end
};
MainFooter buildMainFooter(QWidget *window);

// The whole window: header, the host panel of the content windows (Panel8), footer, and the two
// timers of the poll (Timer1) and the login watch (Timer2), coarse and not started.
struct MainDesign
{
    MainHeader header;
    QFrame *Panel8 = nullptr;
    MainFooter footer;
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;
};
MainDesign buildMainDesign(QWidget *window);

// Reads the design's pictures (header, footer strips, toolbar icons) into the window, at its pixel
// ratio; the window does this before it first shows.
void loadDesignPictures(QWidget *window);

// Highlights the toolbar button of the current content window (0: none).
void markCurrentToolbarButton(const MainHeader &header, int position);

// The application's icon (window, tray).
QIcon applicationIcon();
