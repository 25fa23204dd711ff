#include "BlockingUdpSocket.h"

#include <QDeadlineTimer>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace olg {

BlockingUdpSocket::BlockingUdpSocket(qsizetype maxDatagram)
    : buffer_(static_cast<std::size_t>(maxDatagram)) {}

BlockingUdpSocket::~BlockingUdpSocket() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

bool BlockingUdpSocket::FailWith(int code) {
    errorText_ = QString::fromLocal8Bit(std::strerror(code));
    return false;
}

bool BlockingUdpSocket::Open() {
    descriptor_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (descriptor_ < 0)
        return FailWith(errno);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = 0;
    if (::bind(descriptor_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
        return FailWith(errno);
    return true;
}

bool BlockingUdpSocket::SendTo(const char* data, qsizetype size, quint32 address, quint16 port) {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_addr.s_addr = htonl(address);
    peer.sin_port = htons(port);
    for (;;) {
        if (::sendto(descriptor_, data, static_cast<std::size_t>(size), 0,
                     reinterpret_cast<const sockaddr*>(&peer), sizeof peer) >= 0)
            return true;
        if (errno != EINTR)
            return FailWith(errno);
    }
}

bool BlockingUdpSocket::SetWait(int timeoutMs) {
    // The receive time-out stays set between the packets: one system call less for each.
    if (timeoutMs == waitMs_)
        return true;
    timeval wait{};
    wait.tv_sec = timeoutMs / 1000;
    wait.tv_usec = (timeoutMs % 1000) * 1000;
    if (::setsockopt(descriptor_, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait) != 0)
        return FailWith(errno);
    waitMs_ = timeoutMs;
    return true;
}

BlockingUdpSocket::Wait BlockingUdpSocket::Receive(int timeoutMs, Datagram* datagram) {
    const QDeadlineTimer deadline(timeoutMs);
    // The first try waits exactly timeoutMs, so that the usual equal waits keep the socket's setting.
    qint64 remaining = timeoutMs;
    for (;; remaining = deadline.remainingTime()) {
        // A time-out of zero would wait for ever: ask without waiting instead.
        const int flags = remaining > 0 ? 0 : MSG_DONTWAIT;
        if (remaining > 0 && !SetWait(static_cast<int>(remaining)))
            return Wait::Failed;
        sockaddr_in sender{};
        socklen_t senderSize = sizeof sender;
        const ssize_t size = ::recvfrom(descriptor_, buffer_.data(), buffer_.size(), flags,
                                        reinterpret_cast<sockaddr*>(&sender), &senderSize);
        if (size >= 0) {
            datagram->Data = buffer_.data();
            datagram->Size = size;
            datagram->Sender = ntohl(sender.sin_addr.s_addr);
            datagram->Port = ntohs(sender.sin_port);
            return Wait::Received;
        }
        const int code = errno;
        if (code == EAGAIN || code == EWOULDBLOCK) {
            if (remaining <= 0 || deadline.hasExpired())
                return Wait::TimedOut;
            continue;
        }
        // A signal, or an earlier datagram of ours that the peer's host refused: wait on.
        if (code == EINTR || code == ECONNREFUSED)
            continue;
        FailWith(code);
        return Wait::Failed;
    }
}

} // namespace olg
