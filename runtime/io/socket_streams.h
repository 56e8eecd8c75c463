// TCP and UDP streams over POSIX sockets (IPv4). Addresses are in host byte order
// (the first dotted part in the top byte). No send raises SIGPIPE: a write to a closed
// peer fails the stream instead.
#pragma once

#include <cstdint>
#include <set>
#include <vector>

#include "runtime/io/stream.h"

namespace tarsk {

// The module-wide waits, in milliseconds.
struct SocketTimeouts {
    int32_t udpReceive = 0;
    int32_t tcpRead = 10000;
    int32_t tcpAccept = 0;
};
SocketTimeouts& socketTimeouts();

class TcpServer;

// State: 0 open, 1 closed by the peer, -1 failed; read and write do nothing once not 0.
class TcpStream final : public Stream {
public:
    TcpStream(int socket, TcpServer* server, uint32_t peerAddress, int32_t peerPort);
    ~TcpStream() override;

    void destroy() override;
    // Waits for the whole count until the read timeout; a read that cannot be
    // completed in time fails the stream and gives what arrived.
    int32_t read(void* buffer, int32_t size) override;
    int32_t write(const void* buffer, int32_t size) override;
    int32_t avail() override;
    int32_t eof() override;

    TcpServer* server() const { return server_; }
    uint32_t peerAddress() const { return peerAddress_; }
    int32_t peerPort() const { return peerPort_; }
    int32_t state() const { return state_; }

private:
    int socket_;
    TcpServer* server_;
    uint32_t peerAddress_;
    int32_t peerPort_;
    int32_t state_ = 0;
};

class TcpServer {
public:
    explicit TcpServer(int socket) : socket_(socket) {}
    ~TcpServer();
    TcpServer(const TcpServer&) = delete;
    TcpServer& operator=(const TcpServer&) = delete;

    // A connection waiting within the accept timeout, or nullptr.
    TcpStream* accept();
    // Streams accepted from this server that are still open.
    std::set<TcpStream*>& streams() { return streams_; }

private:
    int socket_;
    int32_t state_ = 0;
    std::set<TcpStream*> streams_;
};

// One outgoing datagram being collected and the last incoming one being read.
class UdpStream final : public Stream {
public:
    UdpStream(int socket, uint32_t ownAddress, int32_t ownPort);
    ~UdpStream() override;

    void destroy() override;
    int32_t read(void* buffer, int32_t size) override;
    int32_t write(const void* buffer, int32_t size) override;
    int32_t avail() override;
    int32_t eof() override;

    void send(uint32_t address, int32_t port);
    // The source address of the datagram received within the timeout, or 0.
    uint32_t receive();

    uint32_t ownAddress() const { return ownAddress_; }
    int32_t ownPort() const { return ownPort_; }
    uint32_t messageAddress() const { return messageAddress_; }
    int32_t messagePort() const { return messagePort_; }

private:
    int socket_;
    std::vector<uint8_t> incoming_;
    size_t readPosition_ = 0;
    std::vector<uint8_t> outgoing_;
    uint32_t ownAddress_;
    int32_t ownPort_;
    uint32_t messageAddress_;
    int32_t messagePort_;
    int32_t error_ = 0;
};

// Milliseconds left until deadline (0 when passed), for poll.
int remainingMillis(int64_t deadlineMillis);
int64_t monotonicMillis();

}  // namespace tarsk
