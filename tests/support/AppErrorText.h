#pragma once

#include <QString>

#include <functional>

// Runs the call and answers the text of the AppError it raised, or an empty text when it raised
// none: for checking what a failure tells the user.
QString failureText(const std::function<void()> &call);

// Whether the call raised AppError, whatever its text.
bool raisesAppError(const std::function<void()> &call);
