#pragma once

#include <QList>
#include <QString>

class QWidget;

// Every file-open dialog of the client goes through here, so that tests can answer it and read
// back where it started and what it offered.

// The chosen file's path, or an empty text when the user cancelled.
QString chooseFileToOpen(QWidget *parent, const QString &caption, const QString &startFolder,
                         const QString &filter);

// For tests: while recording, dialogs are not displayed; each is recorded and answered from the
// queue (cancelled when the queue is empty).
namespace FileDialogRecorder {
struct Asked
{
    QString caption;
    QString startFolder;
    QString filter;
};
void start();
void stop();
void queueAnswer(const QString &chosenFile);
QList<Asked> asked();
} // namespace FileDialogRecorder
