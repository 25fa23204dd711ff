#pragma once

#include "BroadcastInterfaces.h"
#include "DeviceRegistry.h"
#include "ExchangeSettings.h"
#include "OwnAddresses.h"
#include "Prompts.h"
#include "SplitRequest.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QString>
#include <QUdpSocket>

#include <functional>
#include <vector>

class QEventLoop;

namespace olg {

// The program's only channel to the devices. Every request goes out as a broadcast from the bound socket;
// each operation registers the handler that receives every datagram accepted from then on, until the next
// operation. While a request waits, the event loop keeps running, so the window stays alive and replies are
// delivered.
// On a LAN broadcast, a request goes out of every interface that can broadcast, so that a host on several
// networks finds the devices of each; a request to one device leaves only through the interface its replies
// came in on.
class TServeur : public QObject {
    Q_OBJECT

public:
    // (sender address, sender port, whole datagram, accepted). The datagram is valid during the call only.
    using ReplyHandler = std::function<void(const QString&, quint16, const QByteArray&, bool)>;

    // Wait limits per datagram, in units of 100 ms.
    static constexpr int DiscoverLimit = 0;
    static constexpr int ReadLimit = 1;
    static constexpr int WriteLimit = 15;
    static constexpr int UpgradeLimit = 10;
    // Datagrams read per turn of the event loop, and the time their delivery may take in one turn.
    static constexpr int ReadBatchSize = 256;
    static constexpr int DeliverBudgetMs = 20;

    TServeur(const DeviceRegistry& registry, Prompts& prompts, const ExchangeSettings& settings = {},
             QObject* parent = nullptr);
    // A lane of the shared exchange, for work on another thread: it sends through the shared exchange's
    // socket and hears the replies meant for it, so that several devices can be worked on at once over the
    // one port the devices answer to. The shared exchange hands a reply to the lane whose latest request
    // named its source (by identity, or for an upgrade request by address); replies no lane asked for go to
    // the shared exchange's own handler. Errors are shown with these prompts. The shared exchange must
    // outlive the lane and keep its thread's event loop running while the lane works.
    TServeur(TServeur& shared, Prompts& prompts, QObject* parent = nullptr);
    ~TServeur() override;

    // Why the socket could not be bound, or empty when it is listening.
    QString BindError() const { return bindError_; }
    bool IsLane() const { return shared_ != nullptr; }
    quint16 LocalPort() const;
    const ExchangeSettings& Settings() const { return settings_; }

    std::uint16_t DistributorCode() const { return distributorCode_; }
    void SetDistributorCode(std::uint16_t code) { distributorCode_ = code; }

    // The handler is only ever called while its target exists; without a target it is never called.
    void Discover(QObject* target, ReplyHandler handler);
    void ReadAll(const TOLG& record, QObject* target, ReplyHandler handler);
    // These return 0 when the write was sent, or the id of a text too long for one item, in which case
    // nothing was sent.
    int WriteParams(const TOLG& record, bool generalOnly, QObject* target, ReplyHandler handler);
    int WriteGeneral(const TOLG& record, QObject* target, ReplyHandler handler);
    int WriteAll(const TOLG& record, QObject* target, ReplyHandler handler);
    void RequestImageUpgrade(const QString& address, QObject* target, ReplyHandler handler);
    void RequestFileUpgrade(const QString& address, QObject* target, ReplyHandler handler);

    // Sends one datagram and waits until the first accepted datagram or until limit x 100 ms have passed.
    void SendAndWait(const TSendBuf& datagram, int limit);

    // True when the latest operation could not send: the exchange has said why, once, and sent nothing
    // further of it. A caller then has nothing to add, such as "Device not responding".
    bool SendFailed() const { return sendFailed_; }

    // Which datagrams end a wait; every one when none is given. The others are still delivered. The command
    // line waits for the answer of the device it talks to, so that a late reply of another device, or a late
    // reply to the scan, does not cut the wait for it short.
    void SetWaitEnder(std::function<bool(const QByteArray&)> endsWait) { endsWait_ = std::move(endsWait); }
    // While set, only a datagram from this address ends a wait (the others are still delivered), so that
    // a stray datagram of another host cannot cut the wait for a device's answer short. Empty: any sender.
    void SetAnswerSender(const QString& address) { answerSender_ = QHostAddress(address); }

    // True while a request waits for its answer: another operation now would take its replies away.
    bool Waiting() const { return !waits_.empty(); }

    // Limits LAN broadcasts to these interfaces, by name; empty for every one that can broadcast. Replies
    // that come in on others are ignored.
    void LimitInterfaces(const QStringList& names) { interfaceNames_ = names; }

    // The name of the interface the datagram now being delivered to a handler came in on; empty outside a
    // handler, or when the system did not tell.
    QString ReplyInterface() const { return replyInterface_; }

private:
    struct Received {
        QString Sender;
        quint16 Port = 0;
        QByteArray Data;
        int InterfaceIndex = 0;
        // For a lane: the name the shared exchange found for it.
        QString InterfaceName;
    };

    void Register(QObject* target, ReplyHandler handler);
    void SendSplit(SplitOperation operation, const TOLG& record, int limit);
    // Sends and waits; a LAN broadcast goes out of this interface only, or of every one when it is empty or
    // no longer there.
    void SendAndWait(const TSendBuf& datagram, int limit, const QString& interfaceName);
    // False with the error shown when no copy of the datagram could be sent.
    bool Send(const QByteArray& bytes, const QString& interfaceName);
    // Why no copy could be sent, or empty.
    QString SendFromSocket(const QByteArray& bytes, const QString& interfaceName);
    bool OnEveryInterface() const;
    void OnReadyRead();
    void ReadLater();
    void ReadPending();
    void ReadBatch();
    void Enqueue(Received received, const QList<BroadcastInterfaces::Interface>& allowed);
    void DeliverQueued();
    void Accept();

    // Of the shared exchange, on its thread: sends for a lane and notes which replies are the lane's.
    QString SendForLane(TServeur* lane, const QByteArray& bytes, QString interfaceName);
    void ForgetLane(TServeur* lane);
    // True when the datagram was handed to the lane that asked for it.
    bool RouteToLane(const Received& received);

    const DeviceRegistry& registry_;
    Prompts& prompts_;
    ExchangeSettings settings_;
    QUdpSocket socket_;
    QString bindError_;
    OwnAddresses ownAddresses_;
    BroadcastInterfaces interfaces_;
    QStringList interfaceNames_;
    // The interface each sender's latest reply came in on, for requests named by address alone.
    QHash<QString, int> interfaceOfSender_;
    QString replyInterface_;
    std::function<bool(const QByteArray&)> endsWait_;
    QHostAddress answerSender_;
    std::uint16_t distributorCode_ = DefaultDistributorCode;
    bool sendFailed_ = false;

    ReplyHandler handler_;
    QPointer<QObject> target_;
    bool stop_ = false;
    // The batch being delivered. While a handler runs, no datagram is delivered, so that a handler is never
    // entered twice; the rest wait in the socket.
    QQueue<Received> queue_;
    bool delivering_ = false;
    // A read of the next batch is queued on the event loop.
    bool readScheduled_ = false;
    // The socket signalled and nothing was read since.
    bool readSignalled_ = false;
    QByteArray readBuffer_;
    // The waits in progress, innermost last; an accepted datagram ends all of them.
    std::vector<QEventLoop*> waits_;

    // Set on a lane.
    TServeur* shared_ = nullptr;
    quint16 sharedPort_ = 0;
    // Of the shared exchange: which lane a reply from a device identity, or from an address, is meant for.
    QHash<quint64, TServeur*> laneOfIdentity_;
    QHash<quint32, TServeur*> laneOfAddress_;
};

} // namespace olg
