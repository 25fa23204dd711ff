#include "ReplySender.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>

namespace olg::sim {

ReplySender::ReplySender(qintptr socket, QObject* parent) : QObject(parent), socket_(socket) {
    retry_.setSingleShot(true);
    retry_.setInterval(1);
    connect(&retry_, &QTimer::timeout, this, &ReplySender::Retry);
}

void ReplySender::Send(const QByteArray& datagram, quint32 source, const QHostAddress& destination,
                       quint16 port) {
    const Pending item{datagram, source, destination.toIPv4Address(), port};
    // Keep the order of the replies: nothing overtakes what is already waiting.
    if (!queue_.empty()) {
        queue_.push_back(item);
        return;
    }
    if (SendNow(item) == Result::Busy) {
        queue_.push_back(item);
        retry_.start();
    }
}

void ReplySender::Retry() {
    while (!queue_.empty()) {
        if (SendNow(queue_.front()) == Result::Busy) {
            retry_.start();
            return;
        }
        queue_.pop_front();
    }
}

ReplySender::Result ReplySender::SendNow(const Pending& item) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(item.Port);
    to.sin_addr.s_addr = htonl(item.Destination);
    iovec part{const_cast<char*>(item.Datagram.constData()), static_cast<std::size_t>(item.Datagram.size())};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msghdr message{};
    message.msg_name = &to;
    message.msg_namelen = sizeof(to);
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    const bool chooseSource = item.Source != 0 && foreignSources_.count(item.Source) == 0;
    if (chooseSource) {
        message.msg_control = control;
        message.msg_controllen = sizeof(control);
        cmsghdr* header = CMSG_FIRSTHDR(&message);
        header->cmsg_level = IPPROTO_IP;
        header->cmsg_type = IP_PKTINFO;
        header->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
        in_pktinfo info{};
        info.ipi_spec_dst.s_addr = htonl(item.Source);
        std::memcpy(CMSG_DATA(header), &info, sizeof(info));
    }
    for (;;) {
        if (::sendmsg(static_cast<int>(socket_), &message, 0) >= 0) {
            ++sent_;
            return Result::Sent;
        }
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == ENOBUFS)
            return Result::Busy;
        if (chooseSource && (errno == EINVAL || errno == EADDRNOTAVAIL)) {
            foreignSources_.insert(item.Source);
            message.msg_control = nullptr;
            message.msg_controllen = 0;
            continue;
        }
        // Unreachable destination and the like: a lost reply, as on a real network.
        return Result::Failed;
    }
}

} // namespace olg::sim
