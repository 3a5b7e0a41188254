#include "main/LoginWatch.h"

#include "app/LoginRecord.h"
#include "app/UnitGlouble.h"
#include "service/AppError.h"

LoginWatchVerdict compareLoginStamps(const QString &answer, const QString &stamp)
{
    return answer == stamp ? LoginWatchVerdict::SameLogin : LoginWatchVerdict::TakenOver;
}

LoginWatchResult watchLogin()
{
    try {
        return {compareLoginStamps(LoginRecord::watchedLoginStamp(), loginStamp), {}};
    } catch (const AppError &failure) {
        return {LoginWatchVerdict::Unreachable, failure.text()};
    } catch (const std::exception &failure) {
        return {LoginWatchVerdict::Unreachable, QString::fromLocal8Bit(failure.what())};
    }
}
