#include "ui/ErrorReport.h"

#include "service/AppError.h"
#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcErrors, "tipdesk.errors", QtWarningMsg)

QString failureText(const std::exception &failure)
{
    if (const auto *appError = dynamic_cast<const AppError *>(&failure))
        return appError->text();
    return QString::fromLocal8Bit(failure.what());
}

namespace {
QString &caption()
{
    static QString text;
    return text;
}
} // namespace

void setGeneralErrorCaption(const QString &text)
{
    caption() = text;
}

QString generalErrorCaption()
{
    return caption().isEmpty() ? QCoreApplication::applicationName() : caption();
}

void reportGeneralError(const QString &text)
{
    showMessage(QApplication::activeWindow(), text, generalErrorCaption(), BoxIcon::Error);
}

bool runReportingFailures(const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (const std::exception &failure) {
        reportGeneralError(failureText(failure));
    }
    return false;
}

bool runDiscardingFailures(const std::function<void()> &step)
{
    try {
        step();
        return true;
    } catch (const std::exception &failure) {
        qCDebug(lcErrors) << "discarded:" << failureText(failure);
    }
    return false;
}
