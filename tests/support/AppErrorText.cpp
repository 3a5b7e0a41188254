#include "AppErrorText.h"

#include "service/AppError.h"

#include <optional>

namespace {

std::optional<QString> caughtText(const std::function<void()> &call)
{
    try {
        call();
    } catch (const AppError &error) {
        return error.text();
    }
    return std::nullopt;
}

} // namespace

QString failureText(const std::function<void()> &call)
{
    return caughtText(call).value_or(QString());
}

bool raisesAppError(const std::function<void()> &call)
{
    return caughtText(call).has_value();
}
