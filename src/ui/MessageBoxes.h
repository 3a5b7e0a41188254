#pragma once

#include <QList>
#include <QString>

class QMessageBox;
class QWidget;

// Every modal message box of the client goes through here, so that captions, icons and buttons are
// uniform and tests can answer boxes and read back what was shown.
enum class BoxIcon { None, Information, Warning, Error, Question };
enum class BoxButtons { Ok, OkCancel };
enum class BoxAnswer { Ok, Cancel };

BoxAnswer showMessage(QWidget *parent, const QString &text, const QString &caption,
                      BoxIcon icon = BoxIcon::None, BoxButtons buttons = BoxButtons::Ok);

// Gives a box its text and caption so that it fits the screen and shows its whole caption: a long
// text is shortened in the box, whole in its details; the box is at least as wide as the caption
// and the window manager's title-bar buttons need. Every box of the client goes through here.
void setBoxTextAndCaption(QMessageBox &box, const QString &text, const QString &caption);

// What a box shows of a text: all of a short one; the start of a long one, ended by "……".
QString shortenedBoxText(const QString &text);

// For tests: while recording, boxes are not displayed; each is recorded and answered from the
// queue (OK when the queue is empty).
namespace MessageBoxRecorder {
struct Shown
{
    QString text;
    QString caption;
    BoxIcon icon;
    BoxButtons buttons;
};
void start();
void stop();
void queueAnswer(BoxAnswer answer);
QList<Shown> shown();
void clear();
} // namespace MessageBoxRecorder
