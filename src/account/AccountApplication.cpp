#include "account/AccountApplication.h"

#include "service/Conversions.h"
#include "service/Statements.h"
#include "service/WebService.h"

ApplicationOutcome applyForAccount(const QString &name, const QString &mobile,
                                   const QString &password, const QString &confirmation)
{
    // The name is looked up exactly as it will be stored: trimmed. Looking it up as typed would
    // let " alice" pass as free while "alice" exists.
    const QString storedName = trimmedText(name);
    if (storedName.isEmpty())
        return ApplicationOutcome::EmptyName;
    if (password != confirmation)
        return ApplicationOutcome::PasswordsDiffer;
    if (NewServiceProxy()->hqsfczjl(Statements::accountNameCount(storedName)) > 0)
        return ApplicationOutcome::NameTaken;
    if (NewServiceProxy()->hqsfczjl(Statements::pendingApplicationCount(storedName)) > 0)
        return ApplicationOutcome::AlreadyApplied;
    const QString insert =
        Statements::insertApplication(storedName, trimmedText(password), trimmedText(mobile));
    try {
        return trimmedText(NewServiceProxy()->zhixing(insert)) == QLatin1String("true")
            ? ApplicationOutcome::Filed
            : ApplicationOutcome::NotFiled;
    } catch (const std::exception &) {
        return ApplicationOutcome::NotFiled;
    }
}
