#include "BulkRun.h"

#include "ExitCode.h"
#include "ParallelJobs.h"

#include <vector>

namespace olg::cli {

int BulkRun::Run(const QList<int>& devices, const QString& question, const QString& done, const Work& one) {
    return Run(
        devices, question,
        [&](int failed) {
            return QStringLiteral("%1 of %2 device(s) %3, %4 failed")
                .arg(devices.size() - failed)
                .arg(devices.size())
                .arg(done)
                .arg(failed);
        },
        one);
}

int BulkRun::Run(const QList<int>& devices, const QString& question,
                 const std::function<QString(int failed)>& summary, const Work& one) {
    if (!question.isEmpty() && devices.size() > 1) {
        session_.Prompts().ListDevices(session_.Describe(devices));
        if (!session_.Prompts().AskYesNo(question)) {
            session_.Prompts().ShowError(
                QStringLiteral("nothing was done (give --yes to act without asking)"));
            return ExitFailure;
        }
    }
    int failed = 0;
    ForEach(devices, one, [&](int device, const Outcome& outcome) {
        if (outcome.Code == ExitOk)
            return;
        ++failed;
        const QString description = session_.Describe(device);
        QString reason = outcome.LastMessage.isEmpty() ? QStringLiteral("failed") : outcome.LastMessage;
        // The line names the device already.
        if (reason.startsWith(description + QLatin1String(": ")))
            reason.remove(0, description.size() + 2);
        session_.Out() << description << ": failed: " << reason << Qt::endl;
    });
    session_.Out() << summary(failed) << Qt::endl;
    return failed == 0 ? ExitOk : ExitFailure;
}

void BulkRun::ForEach(const QList<int>& devices, const Work& one,
                      const std::function<void(int device, const Outcome& outcome)>& after) {
    const int count = static_cast<int>(devices.size());
    if (jobs_ <= 1 || count < 2 || !session_.Serveur()) {
        for (int number = 1; number <= count; ++number) {
            const int device = devices.at(number - 1);
            // Named before the work: a reply may change the record.
            session_.Progress().Step(number, count, session_.Describe(device));
            const int messagesBefore = session_.Prompts().MessageCount();
            Outcome outcome;
            outcome.Code = one(session_, device);
            if (session_.Prompts().MessageCount() > messagesBefore)
                outcome.LastMessage = session_.Prompts().LastMessage();
            after(device, outcome);
        }
        return;
    }

    struct Done {
        QString Out;
        QString Err;
        TOLG Record;
        Outcome Result;
    };
    // Copies up front: the workers never touch the list of this thread.
    std::vector<Done> done(static_cast<std::size_t>(count));
    for (int index = 0; index < count; ++index)
        done[static_cast<std::size_t>(index)].Record = session_.Devices().At(devices.at(index));
    int finished = 0;
    ParallelJobs(jobs_).Run(
        count,
        [&](int index) {
            Done& job = done[static_cast<std::size_t>(index)];
            QTextStream out(&job.Out);
            QTextStream err(&job.Err);
            Session session(session_, out, err, job.Record);
            job.Result.Code = one(session, 0);
            if (session.Prompts().MessageCount() > 0)
                job.Result.LastMessage = session.Prompts().LastMessage();
            job.Record = session.Devices().At(0);
        },
        [&](int index) {
            Done& job = done[static_cast<std::size_t>(index)];
            const int device = devices.at(index);
            const QString description = session_.Describe(device);
            session_.Devices().Replace(device, job.Record);
            session_.Err() << job.Err << Qt::flush;
            session_.Out() << job.Out << Qt::flush;
            session_.Progress().Step(++finished, count, description);
            after(device, job.Result);
        });
}

} // namespace olg::cli
