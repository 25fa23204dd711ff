#include "CommandReader.h"

#include <cstdio>
#include <unistd.h>

namespace olg::sim {

namespace {
// A line longer than this is no command; it is dropped rather than held.
constexpr qsizetype MaxLineBytes = 64 * 1024;
} // namespace

CommandReader::CommandReader(QObject* parent)
    : QObject(parent), notifier_(STDIN_FILENO, QSocketNotifier::Read) {
    connect(&notifier_, &QSocketNotifier::activated, this, &CommandReader::ReadAvailable);
}

void CommandReader::ReadAvailable() {
    char buffer[4096];
    const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof(buffer));
    if (count <= 0) {
        // End of input (or an error): nothing more will come.
        notifier_.setEnabled(false);
        return;
    }
    pending_.append(buffer, count);
    qsizetype end = 0;
    while ((end = pending_.indexOf('\n')) >= 0) {
        const QByteArray line = pending_.left(end).trimmed();
        pending_.remove(0, end + 1);
        if (line.isEmpty())
            continue;
        std::string error;
        const auto action =
            DeviceScript::ParseCommand(std::string_view(line.constData(), line.size()), error);
        if (action)
            emit ActionRead(*action);
        else
            std::fprintf(stderr, "olgsim: command \"%s\": %s\n", line.constData(), error.c_str());
    }
    if (pending_.size() > MaxLineBytes)
        pending_.clear();
}

} // namespace olg::sim
