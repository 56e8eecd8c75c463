#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "runtime/host/arena.h"
#include "runtime/io/socket_streams.h"

namespace tarsk {
namespace {

// poll of one socket that retries on interruption.
int pollSocket(int socket, int timeoutMillis) {
    pollfd entry{socket, POLLIN, 0};
    int result;
    do result = poll(&entry, 1, timeoutMillis);
    while (result < 0 && errno == EINTR);
    return result;
}

// Closes a failed socket at once, without lingering over unsent data.
void closeSocket(int socket, bool failed) {
    if (failed) {
        linger option{0, 0};
        setsockopt(socket, SOL_SOCKET, SO_LINGER, &option, sizeof option);
    }
    close(socket);
}

}  // namespace

SocketTimeouts& socketTimeouts() {
    static SocketTimeouts timeouts;
    return timeouts;
}

int64_t monotonicMillis() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

int remainingMillis(int64_t deadlineMillis) {
    int64_t left = deadlineMillis - monotonicMillis();
    return left > 0 ? int(left) : 0;
}

TcpStream::TcpStream(int socket, TcpServer* server, uint32_t peerAddress, int32_t peerPort)
    : socket_(socket), server_(server), peerAddress_(peerAddress), peerPort_(peerPort) {}

TcpStream::~TcpStream() { closeSocket(socket_, state_ == -1); }

void TcpStream::destroy() { arenaDelete(this); }

int32_t TcpStream::read(void* buffer, int32_t size) {
    if (state_ != 0 || size <= 0) return 0;
    int64_t deadline = monotonicMillis() + socketTimeouts().tcpRead;
    char* out = static_cast<char*>(buffer);
    int32_t got = 0;
    while (got < size) {
        ssize_t n = recv(socket_, out + got, size_t(size - got), MSG_DONTWAIT);
        if (n > 0) {
            got += int32_t(n);
        } else if (n == 0) {
            state_ = 1;
            break;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (pollSocket(socket_, remainingMillis(deadline)) <= 0) {  // nothing came in time
                state_ = -1;
                break;
            }
        } else if (errno != EINTR) {
            state_ = -1;
            break;
        }
    }
    return got;
}

int32_t TcpStream::write(const void* buffer, int32_t size) {
    if (state_ != 0 || size <= 0) return 0;
    const char* data = static_cast<const char*>(buffer);
    int32_t sent = 0;
    while (sent < size) {
        ssize_t n = send(socket_, data + sent, size_t(size - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            state_ = -1;
            return 0;
        }
        sent += int32_t(n);
    }
    return sent;
}

int32_t TcpStream::avail() {
    if (state_ != 0) return 0;
    int queued = 0;
    if (ioctl(socket_, FIONREAD, &queued) < 0) {
        state_ = -1;
        return 0;
    }
    return queued;
}

int32_t TcpStream::eof() {
    if (state_ != 0) return state_;
    int ready = pollSocket(socket_, 0);
    if (ready < 0) return state_ = -1;
    if (ready == 0) return 0;
    int pending = 0;
    socklen_t length = sizeof pending;
    if (getsockopt(socket_, SOL_SOCKET, SO_ERROR, &pending, &length) < 0 || pending != 0) return state_ = -1;
    int queued = 0;
    if (ioctl(socket_, FIONREAD, &queued) < 0) return state_ = -1;
    if (queued == 0) state_ = 1;
    return state_;
}

TcpServer::~TcpServer() { closeSocket(socket_, state_ == -1); }

TcpStream* TcpServer::accept() {
    if (state_ != 0) return nullptr;
    int ready = pollSocket(socket_, socketTimeouts().tcpAccept);
    if (ready == 0) return nullptr;
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    int socket = ready > 0 ? ::accept4(socket_, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC) : -1;
    if (socket < 0) {
        state_ = -1;
        return nullptr;
    }
    auto* stream = arenaNew<TcpStream>(socket, this, ntohl(peer.sin_addr.s_addr), int32_t(ntohs(peer.sin_port)));
    streams_.insert(stream);
    return stream;
}

}  // namespace tarsk
