// A TCP peer on the loopback interface, run in its own thread with plain sockets.
// It accepts one connection, runs its script on it and stops by itself: a script
// that waits does so for a bounded time.
#pragma once

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <thread>

namespace tarsk::test {

// A free loopback port, found by binding port 0.
inline int freePort() {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    close(s);
    return ntohs(address.sin_port);
}

inline bool sendAll(int s, const void* data, size_t size) {
    return send(s, data, size, MSG_NOSIGNAL) == ssize_t(size);
}

class LoopbackPeer {
public:
    explicit LoopbackPeer(std::function<void(int connection)> script) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener_, 1);
        socklen_t length = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this, script = std::move(script)] {
            int connection = accept(listener_, nullptr, nullptr);
            if (connection < 0) return;
            script(connection);
            close(connection);
        });
    }
    ~LoopbackPeer() {
        shutdown(listener_, SHUT_RDWR);  // ends a pending accept
        thread_.join();
        close(listener_);
    }
    int port() const { return port_; }

private:
    int listener_;
    int port_ = 0;
    std::thread thread_;
};

// A connection to a loopback port (plain socket), or -1.
inline int connectTo(int port) {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(uint16_t(port));
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(s);
        return -1;
    }
    return s;
}

}  // namespace tarsk::test
