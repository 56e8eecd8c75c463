#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "runtime/host/arena.h"
#include "runtime/io/socket_streams.h"

namespace tarsk {

UdpStream::UdpStream(int socket, uint32_t ownAddress, int32_t ownPort)
    : socket_(socket), ownAddress_(ownAddress), ownPort_(ownPort), messageAddress_(ownAddress), messagePort_(ownPort) {}

UdpStream::~UdpStream() { close(socket_); }

void UdpStream::destroy() { arenaDelete(this); }

int32_t UdpStream::read(void* buffer, int32_t size) {
    if (size <= 0) return 0;
    size_t n = std::min(size_t(size), incoming_.size() - readPosition_);
    std::memcpy(buffer, incoming_.data() + readPosition_, n);
    readPosition_ += n;
    return int32_t(n);
}

int32_t UdpStream::write(const void* buffer, int32_t size) {
    if (size <= 0) return 0;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    outgoing_.insert(outgoing_.end(), bytes, bytes + size);
    return size;
}

int32_t UdpStream::avail() { return int32_t(incoming_.size() - readPosition_); }

int32_t UdpStream::eof() {
    if (error_) return error_;
    return readPosition_ >= incoming_.size() ? 1 : 0;
}

void UdpStream::send(uint32_t address, int32_t port) {
    if (error_) return;
    sockaddr_in dest{};
    dest.sin_family = AF_INET;
    dest.sin_addr.s_addr = htonl(address);
    dest.sin_port = htons(uint16_t(port ? port : ownPort_));
    ssize_t sent = sendto(socket_, outgoing_.data(), outgoing_.size(), MSG_NOSIGNAL,
                          reinterpret_cast<const sockaddr*>(&dest), sizeof dest);
    if (sent < 0 || size_t(sent) < outgoing_.size()) {
        error_ = -1;
        return;
    }
    outgoing_.clear();
}

uint32_t UdpStream::receive() {
    if (error_) return 0;
    int64_t deadline = monotonicMillis() + socketTimeouts().udpReceive;
    for (;;) {
        pollfd entry{socket_, POLLIN, 0};
        int ready = poll(&entry, 1, remainingMillis(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) return 0;
        int queued = 0;
        if (ready < 0 || ioctl(socket_, FIONREAD, &queued) < 0) {
            error_ = -1;
            return 0;
        }
        incoming_.assign(size_t(std::max(queued, 0)), 0);
        readPosition_ = 0;
        sockaddr_in source{};
        socklen_t length = sizeof source;
        ssize_t got = recvfrom(socket_, incoming_.data(), incoming_.size(), MSG_TRUNC,
                               reinterpret_cast<sockaddr*>(&source), &length);
        if (got >= 0) {
            incoming_.resize(std::min(incoming_.size(), size_t(got)));
            messageAddress_ = ntohl(source.sin_addr.s_addr);
            messagePort_ = ntohs(source.sin_port);
            return messageAddress_;
        }
        incoming_.clear();
    }
}

}  // namespace tarsk
