// Drives the TFTP put and get decisions with a scripted sequence of packets and time-outs, as a hostile
// server (or anyone on the LAN) could send them. Any read outside a packet, undefined behaviour or broken
// invariant aborts: a put never sends beyond its file nor ends before its last block, a get never stores more
// than it may, a refused packet changes nothing, and every transfer of a known size ends in its time.

#include "FuzzRequire.h"
#include "TftpGet.h"
#include "TftpPut.h"

#include <cstdlib>
#include <memory>
#include <vector>

using namespace olg;
using olg::fuzz::Require;

namespace {

constexpr std::uint32_t Server = 0x0A000002;
constexpr std::uint16_t ServerPort = 69;
constexpr std::uint16_t AnswerPort = 40000;

// The input, read from the front; zeros once it is used up.
class Script {
public:
    Script(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::uint16_t U16() { return static_cast<std::uint16_t>((Byte() << 8) | Byte()); }
    std::vector<std::uint8_t> Bytes(std::size_t count) {
        count = std::min(count, size_ - std::min(at_, size_));
        std::vector<std::uint8_t> bytes(data_ + at_, data_ + at_ + count);
        at_ += count;
        return bytes;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

std::vector<std::uint8_t> Packet(std::uint16_t opcode, std::uint16_t number, std::size_t length) {
    std::vector<std::uint8_t> packet{
        static_cast<std::uint8_t>(opcode >> 8), static_cast<std::uint8_t>(opcode),
        static_cast<std::uint8_t>(number >> 8), static_cast<std::uint8_t>(number)};
    packet.resize(4 + length, 'z');
    return packet;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Script script(data, size);
    const std::uint8_t mode = script.Byte();
    const bool put = (mode & 1) != 0;
    // A file (put) or a bound (get, none when -1) of up to 1 MiB, so a transfer is many blocks long.
    const std::int64_t bytes = static_cast<std::int64_t>(script.U16()) << ((mode >> 1) & 7) >> 3;
    const std::int64_t maxBytes = (mode & 0x10) != 0 ? -1 : bytes;
    const TftpTiming timing;
    std::int64_t now = 0;
    std::unique_ptr<TftpTransfer> transfer;
    TftpPut* writer = nullptr;
    TftpGet* reader = nullptr;
    if (put)
        transfer = std::unique_ptr<TftpTransfer>(
            writer = new TftpPut("/", bytes, 1500, Server, ServerPort, timing, 0));
    else
        transfer = std::unique_ptr<TftpTransfer>(
            reader = new TftpGet("/", maxBytes, 1500, Server, ServerPort, timing, 0));
    Require(transfer->DestinationPort() == ServerPort && !transfer->Outgoing().empty());
    const std::int64_t known = put ? bytes : maxBytes;
    // When a transfer of known size must be over, whatever the server does.
    const std::int64_t end =
        known < 0 ? -1 : timing.TimeoutMs + (known / 512 + 1) * timing.MsPerBlock + timing.LastBlockWaitMs;
    std::int64_t left = bytes;
    std::int64_t stored = 0;

    while (!script.Empty() && transfer->Result() == TftpTransfer::State::Running) {
        const std::uint8_t kind = script.Byte();
        TftpTransfer::Action action;
        std::vector<std::uint8_t> packet;
        if ((kind & 3) == 0) {
            now += script.Byte() * 40;
            action = transfer->OnTimeout(now);
        } else {
            // The packet's bytes as given, or one of the block a transfer waits for (or near it).
            if ((kind & 3) == 1) {
                packet = script.Bytes(script.U16() % 1600);
            } else {
                const auto number =
                    static_cast<std::uint16_t>(transfer->AwaitedBlock() + (script.Byte() % 5) - 2);
                packet = (kind & 3) == 2 ? Packet(TftpPacket::Ack, number, 0)
                                         : Packet(TftpPacket::Data, number, script.U16() % 1600);
            }
            // The source: the server's answering port, its request port, another port or another host.
            const std::uint8_t source = (kind >> 2) & 3;
            const std::uint32_t address = source == 3 ? Server + 1 : Server;
            const std::uint16_t port = source == 1 ? ServerPort : source == 2 ? AnswerPort + 1 : AnswerPort;
            now += (kind >> 4);
            const bool stranger = transfer->Answered() && now < transfer->WakeAt() &&
                                  (address != Server || port != transfer->PeerPort());
            const auto state = transfer->Result();
            action = transfer->OnPacket(packet.data(), packet.size(), address, port, now);
            if (stranger) {
                Require(transfer->Result() == state);
                Require(action == TftpTransfer::Action::Send && transfer->DestinationPort() == port &&
                        transfer->DestinationAddress() == address);
            }
        }
        if (action == TftpTransfer::Action::Fill) {
            Require(writer != nullptr && left >= 0);
            const std::int64_t block = std::min<std::int64_t>(left, writer->BlockSize());
            writer->BlockSpace();
            writer->BlockRead(static_cast<std::size_t>(block));
            left -= block;
            // One block past the file's end is the empty last one, never more.
            if (block < writer->BlockSize())
                left = -1;
            Require(writer->BytesSent() <= bytes);
        } else if (action == TftpTransfer::Action::Store) {
            Require(reader != nullptr && packet.size() >= 4);
            stored += static_cast<std::int64_t>(packet.size() - 4);
            Require(stored == reader->BytesStored() && (maxBytes < 0 || stored <= maxBytes));
        }
        if (action != TftpTransfer::Action::Wait)
            Require(!transfer->Outgoing().empty());
        // However the packets come, a transfer of known size is over in its time.
        if (end >= 0 && now >= end)
            Require(transfer->Result() != TftpTransfer::State::Running);
    }
    // A put is done only once the whole file went, with its short last block.
    if (writer && writer->Result() == TftpTransfer::State::Done)
        Require(writer->BytesSent() == bytes && left < 0);
    return 0;
}
