#pragma once

#include <QByteArray>
#include <QElapsedTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <thread>

namespace olg::testing {

// A peer on 127.0.0.2 that streams discovery replies from ever new MAC identities to a port on 127.0.0.1,
// from a thread of its own and as fast as it can, so that datagrams keep coming while the program under test
// works. It stops when destroyed, and by itself after a bounded time or count.
class StreamingPeer {
public:
    static constexpr int MaxMs = 15000;
    static constexpr std::int64_t MaxDatagrams = 5'000'000;

    explicit StreamingPeer(quint16 port) : thread_([this, port] { Stream(port); }) {}
    ~StreamingPeer() {
        stop_ = true;
        thread_.join();
    }
    StreamingPeer(const StreamingPeer&) = delete;
    StreamingPeer& operator=(const StreamingPeer&) = delete;

    std::int64_t Sent() const { return sent_; }

private:
    void Stream(quint16 port) {
        const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        if (fd < 0)
            return;
        sockaddr_in from{};
        from.sin_family = AF_INET;
        from.sin_addr.s_addr = htonl(0x7F000002);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(fd, reinterpret_cast<const sockaddr*>(&from), sizeof from) == 0) {
            // Header with the source identity 00 01 + MAC, the name "Flood" (id 7), the end marker.
            QByteArray datagram(25, '\0');
            datagram[9] = 0x01;
            datagram[24] = 0x01;
            datagram += QByteArray("\x00\x07\x05"
                                   "Flood\xFF\xFF",
                                   10);
            QElapsedTimer clock;
            clock.start();
            for (std::uint64_t mac = 0x020000000000ULL; !stop_ && sent_ < MaxDatagrams; ++mac) {
                for (int i = 0; i < 6; ++i)
                    datagram[10 + i] = static_cast<char>((mac >> (8 * (5 - i))) & 0xFF);
                if (::sendto(fd, datagram.constData(), static_cast<size_t>(datagram.size()), 0,
                             reinterpret_cast<const sockaddr*>(&to), sizeof to) > 0)
                    ++sent_;
                if ((mac & 0xFF) == 0 && clock.elapsed() > MaxMs)
                    break;
            }
        }
        ::close(fd);
    }

    std::atomic<bool> stop_{false};
    std::atomic<std::int64_t> sent_{0};
    std::thread thread_;
};

} // namespace olg::testing
