#include "FakeDevice.h"

#include "Datagram.h"

#include <QNetworkDatagram>

namespace olg::testing {

namespace {

void AppendText(TSendBuf& buffer, int id, std::string_view text) {
    AppendItem(buffer, id, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

} // namespace

FakeDevice::FakeDevice(QObject* parent) : QObject(parent) {
    if (!socket_.bind(Address(), 0))
        qFatal("cannot bind the fake device to 127.0.0.2");
    connect(&socket_, &QUdpSocket::readyRead, this, &FakeDevice::OnReadyRead);
}

void FakeDevice::OnReadyRead() {
    while (socket_.hasPendingDatagrams()) {
        const QNetworkDatagram request = socket_.receiveDatagram();
        requests_.append(request.data());
        for (const QByteArray& answer : answers_)
            socket_.writeDatagram(answer, request.senderAddress(),
                                  static_cast<quint16>(request.senderPort()));
        emit RequestReceived();
    }
}

void FakeDevice::SendTo(quint16 port, const QByteArray& datagram) {
    socket_.writeDatagram(datagram, QHostAddress(QHostAddress::LocalHost), port);
}

DeviceIdentity FakeDevice::Mac(std::uint64_t mac) {
    return MacIdentity(mac);
}

QByteArray FakeDevice::Reply(const DeviceIdentity& source, std::string_view name, std::uint32_t typeCode,
                             std::string_view model) {
    TSendBuf buffer;
    BuildHeader(buffer, CommandRead, nullptr, DefaultDistributorCode);
    // A reply names no destination: the request's source was all zeros.
    std::fill_n(buffer.begin() + DestinationOffset, source.size(), std::uint8_t{0});
    std::copy(source.begin(), source.end(), buffer.begin() + SourceOffset);
    AppendText(buffer, 7, name);
    AppendText(buffer, 5, model);
    TSendBuf type;
    AppendBigEndian(type, typeCode, 4);
    AppendItem(buffer, 13, type.data(), type.size());
    return QByteArray(reinterpret_cast<const char*>(buffer.data()), static_cast<qsizetype>(buffer.size()));
}

} // namespace olg::testing
