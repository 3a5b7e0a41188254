#include "ui/FileDialogs.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QQueue>
#include <QTreeView>

namespace {
struct Recorder
{
    bool active = false;
    QQueue<QString> answers;
    QList<FileDialogRecorder::Asked> asked;
};

Recorder &recorder()
{
    static Recorder instance;
    return instance;
}
} // namespace

QString chooseFileToOpen(QWidget *parent, const QString &caption, const QString &startFolder,
                         const QString &filter)
{
    Recorder &r = recorder();
    if (r.active) {
        r.asked.append({caption, startFolder, filter});
        return r.answers.isEmpty() ? QString() : r.answers.dequeue();
    }
    QFileDialog dialog(parent, caption, startFolder, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Qt's own dialog sizes the size, type and date columns for short Latin texts, which cuts the
    // Chinese ones: they take what their texts need, the name column the rest of a wider window.
    // (A desktop's own dialog, where Qt uses one, has no such view and sizes itself.)
    if (auto *files = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        files->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        files->header()->setSectionResizeMode(0, QHeaderView::Stretch);
        dialog.resize(dialog.sizeHint().expandedTo(QSize(720, 440)));
    }
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

namespace FileDialogRecorder {
void start()
{
    recorder() = Recorder {};
    recorder().active = true;
}

void stop()
{
    recorder() = Recorder {};
}

void queueAnswer(const QString &chosenFile)
{
    recorder().answers.enqueue(chosenFile);
}

QList<Asked> asked()
{
    return recorder().asked;
}
} // namespace FileDialogRecorder
