#include "BulkRun.h"

#include "ExitCode.h"

namespace olg::cli {

int BulkRun::Run(const QList<int>& devices, const QString& question, const QString& done,
                 const std::function<int(int device)>& one) {
    if (!question.isEmpty() && devices.size() > 1) {
        session_.Prompts().ListDevices(session_.Describe(devices));
        if (!session_.Prompts().AskYesNo(question)) {
            session_.Prompts().ShowError(
                QStringLiteral("nothing was done (give --yes to act without asking)"));
            return ExitFailure;
        }
    }
    int failed = 0;
    for (int number = 1; number <= devices.size(); ++number) {
        const int device = devices.at(number - 1);
        // Named before the work: a reply may change the record.
        const QString description = session_.Describe(device);
        session_.Progress().Step(number, static_cast<int>(devices.size()), description);
        const int messagesBefore = session_.Prompts().MessageCount();
        if (one(device) == ExitOk)
            continue;
        ++failed;
        QString reason = session_.Prompts().MessageCount() > messagesBefore ? session_.Prompts().LastMessage()
                                                                            : QStringLiteral("failed");
        // The line names the device already.
        if (reason.startsWith(description + QLatin1String(": ")))
            reason.remove(0, description.size() + 2);
        session_.Out() << description << ": failed: " << reason << Qt::endl;
    }
    session_.Out() << QStringLiteral("%1 of %2 device(s) %3, %4 failed")
                          .arg(devices.size() - failed)
                          .arg(devices.size())
                          .arg(done)
                          .arg(failed)
                   << Qt::endl;
    return failed == 0 ? ExitOk : ExitFailure;
}

} // namespace olg::cli
