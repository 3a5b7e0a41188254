#pragma once

#include <QString>

#include <exception>
#include <functional>

// The text a failure shows the user.
QString failureText(const std::exception &failure);

// The application's general error report: a message box with the failure's own text, captioned
// with the application title, error icon. Handlers without a guard of their own end here.
void reportGeneralError(const QString &text);

// Runs a handler; a failure it raises goes to the general error report and the program goes on.
// Returns false when the handler failed.
bool runReportingFailures(const std::function<void()> &handler);

// Runs a guarded step; a failure it raises is discarded silently. Returns false when it failed.
bool runDiscardingFailures(const std::function<void()> &step);
