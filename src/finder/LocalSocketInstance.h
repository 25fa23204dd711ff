#pragma once

#include "SingleInstance.h"

#include <QLocalServer>
#include <QLockFile>

#include <memory>

namespace olg {

// The single instance through a lock file and a local socket in the user's runtime folder: the instance that
// holds the lock listens on the socket; a later start connects and asks it to come to the front. The lock of
// a crashed instance is stale (its process is gone), so the next start takes it over together with the
// socket left behind.
class LocalSocketInstance : public SingleInstance {
    Q_OBJECT

public:
    // key names the program; the user's runtime folder keeps it per user.
    explicit LocalSocketInstance(const QString& key, QObject* parent = nullptr);
    ~LocalSocketInstance() override;

    bool Claim() override;

private:
    bool AskRunningInstance();
    void OnNewConnection();

    QString socketPath_;
    QLockFile lock_;
    QLocalServer server_;
};

} // namespace olg
