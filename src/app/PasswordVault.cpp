#include "app/PasswordVault.h"

#include "service/ServiceSettings.h"
#include "service/WebService.h"

#include <QTimer>

#include <qt6keychain/keychain.h>

#include <memory>

namespace PasswordVault {
namespace {

// A prompt to unlock the keyring may well take a person a few seconds; a keyring that answers
// nothing in this time is treated as absent.
int timeLimitMs = 15000;

// The keyring entry's service: the server the password belongs to.
QString serviceName()
{
    return registeredServiceSettings().baseAddress;
}

// Runs a job and answers once: when it finishes, or as unavailable when the time is up (the job
// is then left to end by itself, and its answer is dropped).
template<typename JobType>
void run(JobType *job, QObject *context, std::function<void(QKeychain::Job *)> finished,
         std::function<void()> timedOut)
{
    auto answered = std::make_shared<bool>(false);
    job->setAutoDelete(true);
    QObject::connect(job, &QKeychain::Job::finished, context,
                     [answered, finished](QKeychain::Job *done) {
                         if (*answered)
                             return;
                         *answered = true;
                         finished(done);
                     });
    QTimer::singleShot(timeLimitMs, context, [answered, timedOut] {
        if (*answered)
            return;
        *answered = true;
        timedOut();
    });
    job->start();
}

} // namespace

void setTimeLimit(int milliseconds)
{
    timeLimitMs = milliseconds;
}

void read(const QString &name, QObject *context, ReadAnswer answer)
{
    auto *job = new QKeychain::ReadPasswordJob(serviceName());
    job->setKey(name);
    run(
        job, context,
        [answer](QKeychain::Job *done) {
            if (done->error() == QKeychain::NoError)
                answer(Outcome::Done, static_cast<QKeychain::ReadPasswordJob *>(done)->textData());
            else if (done->error() == QKeychain::EntryNotFound)
                answer(Outcome::Done, std::nullopt);
            else
                answer(Outcome::Unavailable, std::nullopt);
        },
        [answer] { answer(Outcome::Unavailable, std::nullopt); });
}

void write(const QString &name, const QString &password, QObject *context, WriteAnswer answer)
{
    auto *job = new QKeychain::WritePasswordJob(serviceName());
    job->setKey(name);
    job->setTextData(password);
    run(
        job, context,
        [answer](QKeychain::Job *done) {
            answer(done->error() == QKeychain::NoError ? Outcome::Done : Outcome::Unavailable);
        },
        [answer] { answer(Outcome::Unavailable); });
}

void remove(const QString &name, QObject *context, WriteAnswer answer)
{
    auto *job = new QKeychain::DeletePasswordJob(serviceName());
    job->setKey(name);
    const auto reply = [answer](Outcome outcome) {
        if (answer)
            answer(outcome);
    };
    run(
        job, context,
        [reply](QKeychain::Job *done) {
            const bool gone =
                done->error() == QKeychain::NoError || done->error() == QKeychain::EntryNotFound;
            reply(gone ? Outcome::Done : Outcome::Unavailable);
        },
        [reply] { reply(Outcome::Unavailable); });
}

} // namespace PasswordVault
