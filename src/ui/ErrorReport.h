#pragma once

#include <QString>

#include <exception>
#include <functional>

// The text a failure shows the user.
QString failureText(const std::exception &failure);

// The application's general error report: a message box with the failure's own text, captioned
// with the application title, error icon. Handlers without a guard of their own end here.
void reportGeneralError(const QString &text);

// The application title the report is captioned with: the system's name once the configuration
// is loaded, the program's name before. (Qt's application display name would do, but on X11 Qt
// then appends it to every window title, so "系统错误！" would read "系统错误！ — name".)
void setGeneralErrorCaption(const QString &caption);
QString generalErrorCaption();

// Runs a handler; a failure it raises goes to the general error report and the program goes on.
// Returns false when the handler failed.
bool runReportingFailures(const std::function<void()> &handler);

// Runs a guarded step; a failure it raises is discarded silently. Returns false when it failed.
bool runDiscardingFailures(const std::function<void()> &step);
