#pragma once

#include "Datagram.h"
#include "DeviceRegistry.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QNetworkInterface>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include <vector>

namespace olg::testing {

// A list of texts written as UTF-8 literals, for comparing with what the program shows.
inline QStringList Texts(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts)
        list.append(QString::fromUtf8(text));
    return list;
}

// One registry of the known device types for the whole test program.
inline const DeviceRegistry& SharedRegistry() {
    static const DeviceRegistry registry = StandardRegistry();
    return registry;
}

inline QByteArray Bytes(const std::vector<std::uint8_t>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

struct ProgramResult {
    int ExitCode = -1; // -1 when the program crashed or did not end in time
    QString Out;
    QString Err;
};

// Runs one of the project's programs from the test's own folder. The event loop keeps running meanwhile, so
// peers that live in the test process go on answering.
inline ProgramResult RunProgram(const QString& name, const QStringList& arguments, int timeoutMs = 30000) {
    QProcess process;
    process.start(QDir(QCoreApplication::applicationDirPath()).filePath(name), arguments);
    // Nobody types: a question the program asks reads the end of its input.
    process.closeWriteChannel();
    QEventLoop wait;
    QObject::connect(&process, &QProcess::finished, &wait, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &wait, &QEventLoop::quit);
    if (process.state() != QProcess::NotRunning)
        wait.exec();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Whether a UDP socket is bound to this local port, by the system's table (a probe socket could take the port
// from its owner).
inline bool UdpPortBound(quint16 port) {
    QFile table(QStringLiteral("/proc/net/udp"));
    const QByteArray local = ":" + QByteArray::number(port, 16).toUpper().rightJustified(4, '0') + " ";
    return table.open(QIODevice::ReadOnly) && table.readAll().contains(local);
}

// True inside the namespaces of scripts/netlab, where every address is on loopback or the lab's 10.66.0.0/24
// (and 10.66.1.0/24, its second subnet):
// the only place where a test may broadcast to 255.255.255.255. Otherwise says why not.
inline bool InsideTheLab(QString* why) {
    if (qEnvironmentVariableIsEmpty("NETLAB_DEVICE_ADDRESSES")) {
        *why = QStringLiteral("not started by scripts/netlab");
        return false;
    }
    const QHostAddress lab(QStringLiteral("10.66.0.0"));
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.protocol() != QAbstractSocket::IPv4Protocol || address.isLoopback() ||
            address.isInSubnet(lab, 23))
            continue;
        *why = QStringLiteral("this namespace has the address ") + address.toString();
        return false;
    }
    return true;
}

} // namespace olg::testing
