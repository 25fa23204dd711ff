#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace olg::testing {

// olgsim on loopback: listening on 127.0.0.1 at a free port, device i answering from 127.0.0.10 + i, its
// parameters in a state file that is on disk by the time a device answers. Stopped when it goes out of scope.
class SimulatorProcess {
public:
    bool Start(const QStringList& devices) {
        QStringList arguments{QStringLiteral("--listen"),     QStringLiteral("127.0.0.1:0"),
                              QStringLiteral("--reply-base"), QStringLiteral("127.0.0.10"),
                              QStringLiteral("--state"),      StatePath()};
        for (const QString& device : devices)
            arguments << QStringLiteral("--device") << device;
        process_.start(QStringLiteral(OLGSIM_PATH), arguments);
        if (!process_.waitForStarted(TimeoutMs))
            return false;
        while (!process_.canReadLine())
            if (!process_.waitForReadyRead(TimeoutMs))
                return false;
        const QRegularExpressionMatch ready =
            QRegularExpression(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)$"))
                .match(QString::fromLocal8Bit(process_.readLine()).trimmed());
        port_ = ready.hasMatch() ? static_cast<quint16>(ready.captured(1).toUInt()) : 0;
        return port_ != 0;
    }
    ~SimulatorProcess() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(TimeoutMs);
        }
    }

    quint16 Port() const { return port_; }
    QString StatePath() const { return dir_.filePath(QStringLiteral("state.json")); }
    // The parameters of device i, keyed by id.
    QJsonObject Params(int device = 0) const {
        QFile file(StatePath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QJsonArray devices =
            QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("devices")).toArray();
        return devices.at(device).toObject().value(QStringLiteral("params")).toObject();
    }

private:
    static constexpr int TimeoutMs = 30000;
    QTemporaryDir dir_;
    QProcess process_;
    quint16 port_ = 0;
};

} // namespace olg::testing
