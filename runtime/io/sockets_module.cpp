// The sockets command module: host look-ups, TCP client and server streams, UDP
// streams and the three timeouts. Handles and host indices are checked always.
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <set>
#include <vector>

#include "runtime/host/arena.h"
#include "runtime/host/gx_host.h"
#include "runtime/host/registry.h"
#include "runtime/host/runtime_error.h"
#include "runtime/io/socket_streams.h"
#include "runtime/language/strings.h"

using tarsk::runtimeError;
using tarsk::TcpServer;
using tarsk::TcpStream;
using tarsk::UdpStream;

namespace {

struct SocketsState {
    std::vector<uint32_t> hostAddresses;
    std::set<UdpStream*> udpStreams;
    std::set<TcpStream*> tcpStreams;
    std::set<TcpServer*> tcpServers;
};

SocketsState& sockets() {
    static SocketsState state;
    return state;
}

template <class T>
T* member(std::set<T*>& set, int32_t handle, const char* message) {
    T* record = tarsk::fromHandle<T>(handle);
    if (!handle || set.count(record) == 0) runtimeError(message);
    return record;
}

UdpStream* udpStream(int32_t handle) { return member(sockets().udpStreams, handle, "UDP Stream does not exist"); }
TcpStream* tcpStream(int32_t handle) { return member(sockets().tcpStreams, handle, "TCP Stream does not exist"); }
TcpServer* tcpServer(int32_t handle) { return member(sockets().tcpServers, handle, "TCP Server does not exist"); }

sockaddr_in anyAddress(int32_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(uint16_t(port));
    return address;
}

int boundSocket(int type, int32_t port) {
    int socket = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    if (socket < 0) return -1;
    sockaddr_in address = anyAddress(port);
    if (bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(socket);
        return -1;
    }
    return socket;
}

std::vector<uint32_t> lookUp(const char* name) {
    std::vector<uint32_t> addresses;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) != 0) return addresses;
    for (addrinfo* entry = found; entry; entry = entry->ai_next)
        addresses.push_back(ntohl(reinterpret_cast<sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr));
    freeaddrinfo(found);
    return addresses;
}

void closeTcpStream(TcpStream* stream) {
    sockets().tcpStreams.erase(stream);
    if (TcpServer* server = stream->server()) server->streams().erase(stream);
    stream->destroy();
}

void closeTcpServer(TcpServer* server) {
    sockets().tcpServers.erase(server);
    while (!server->streams().empty()) closeTcpStream(*server->streams().begin());
    tarsk::arenaDelete(server);
}

}  // namespace

extern "C" {

tbString* _fdottedip(int32_t ip) {
    uint32_t value = uint32_t(ip);
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", value >> 24, (value >> 16) & 255, (value >> 8) & 255, value & 255);
    return tarsk::stringNew(text);
}

int32_t _fcounthostips(tbString* name) {
    std::string host = tarsk::stringTake(name);
    sockets().hostAddresses = lookUp(host.c_str());
    return int32_t(sockets().hostAddresses.size());
}

int32_t _fhostip(int32_t index) {
    auto& addresses = sockets().hostAddresses;
    if (index < 1 || size_t(index) > addresses.size()) runtimeError("Host index out of range");
    return int32_t(addresses[size_t(index) - 1]);
}

int32_t _fcreateudpstream(int32_t port) {
    int socket = boundSocket(SOCK_DGRAM, port);
    if (socket < 0) return 0;
    sockaddr_in own{};
    socklen_t length = sizeof own;
    getsockname(socket, reinterpret_cast<sockaddr*>(&own), &length);
    auto* stream = tarsk::arenaNew<UdpStream>(socket, ntohl(own.sin_addr.s_addr), int32_t(ntohs(own.sin_port)));
    sockets().udpStreams.insert(stream);
    return tarsk::handleOf(stream);
}

void _fcloseudpstream(int32_t handle) {
    UdpStream* stream = udpStream(handle);
    sockets().udpStreams.erase(stream);
    stream->destroy();
}

void _fsendudpmsg(int32_t handle, int32_t ip, int32_t port) { udpStream(handle)->send(uint32_t(ip), port); }
int32_t _frecvudpmsg(int32_t handle) { return int32_t(udpStream(handle)->receive()); }
int32_t _fudpstreamip(int32_t handle) { return int32_t(udpStream(handle)->ownAddress()); }
int32_t _fudpstreamport(int32_t handle) { return udpStream(handle)->ownPort(); }
int32_t _fudpmsgip(int32_t handle) { return int32_t(udpStream(handle)->messageAddress()); }
int32_t _fudpmsgport(int32_t handle) { return udpStream(handle)->messagePort(); }
void _fudptimeouts(int32_t receiveMillis) { tarsk::socketTimeouts().udpReceive = receiveMillis; }

int32_t _fopentcpstream(tbString* server, int32_t serverPort, int32_t localPort) {
    std::string host = tarsk::stringTake(server);
    in_addr dotted{};
    uint32_t address;
    if (inet_pton(AF_INET, host.c_str(), &dotted) == 1) {
        address = ntohl(dotted.s_addr);
    } else {
        std::vector<uint32_t> found = lookUp(host.c_str());
        if (found.empty()) return 0;
        address = found.front();
    }
    int socket = localPort ? boundSocket(SOCK_STREAM, localPort) : ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) return 0;
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_addr.s_addr = htonl(address);
    peer.sin_port = htons(uint16_t(serverPort));
    if (connect(socket, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0) {
        close(socket);
        return 0;
    }
    auto* stream = tarsk::arenaNew<TcpStream>(socket, nullptr, address, serverPort & 0xFFFF);
    sockets().tcpStreams.insert(stream);
    return tarsk::handleOf(stream);
}

void _fclosetcpstream(int32_t handle) { closeTcpStream(tcpStream(handle)); }

int32_t _fcreatetcpserver(int32_t port) {
    int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) return 0;
    int reuse = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in address = anyAddress(port);
    if (bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(socket, 5) != 0) {
        close(socket);
        return 0;
    }
    auto* server = tarsk::arenaNew<TcpServer>(socket);
    sockets().tcpServers.insert(server);
    return tarsk::handleOf(server);
}

void _fclosetcpserver(int32_t handle) { closeTcpServer(tcpServer(handle)); }

int32_t _faccepttcpstream(int32_t handle) {
    TcpServer* server = tcpServer(handle);
    if (tarsk::gxHost* host = tarsk::currentHost(); host && !host->pumpEvents()) tarsk::endProgram();
    TcpStream* stream = server->accept();
    if (!stream) return 0;
    sockets().tcpStreams.insert(stream);
    return tarsk::handleOf(stream);
}

int32_t _ftcpstreamip(int32_t handle) { return int32_t(tcpStream(handle)->peerAddress()); }
int32_t _ftcpstreamport(int32_t handle) { return tcpStream(handle)->peerPort(); }

void _ftcptimeouts(int32_t readMillis, int32_t acceptMillis) {
    tarsk::socketTimeouts().tcpRead = readMillis;
    tarsk::socketTimeouts().tcpAccept = acceptMillis;
}

}  // extern "C"

namespace tarsk {

void sockets_link(Registrar add) {
    add("$DottedIP%IP", reinterpret_cast<const void*>(_fdottedip));
    add("%CountHostIPs$host_name", reinterpret_cast<const void*>(_fcounthostips));
    add("%HostIP%host_index", reinterpret_cast<const void*>(_fhostip));
    add("%CreateUDPStream%port=0", reinterpret_cast<const void*>(_fcreateudpstream));
    add("CloseUDPStream%udp_stream", reinterpret_cast<const void*>(_fcloseudpstream));
    add("SendUDPMsg%udp_stream%dest_ip%dest_port=0", reinterpret_cast<const void*>(_fsendudpmsg));
    add("%RecvUDPMsg%udp_stream", reinterpret_cast<const void*>(_frecvudpmsg));
    add("%UDPStreamIP%udp_stream", reinterpret_cast<const void*>(_fudpstreamip));
    add("%UDPStreamPort%udp_stream", reinterpret_cast<const void*>(_fudpstreamport));
    add("%UDPMsgIP%udp_stream", reinterpret_cast<const void*>(_fudpmsgip));
    add("%UDPMsgPort%udp_stream", reinterpret_cast<const void*>(_fudpmsgport));
    add("UDPTimeouts%recv_timeout", reinterpret_cast<const void*>(_fudptimeouts));
    add("%OpenTCPStream$server%server_port%local_port=0", reinterpret_cast<const void*>(_fopentcpstream));
    add("CloseTCPStream%tcp_stream", reinterpret_cast<const void*>(_fclosetcpstream));
    add("%CreateTCPServer%port", reinterpret_cast<const void*>(_fcreatetcpserver));
    add("CloseTCPServer%tcp_server", reinterpret_cast<const void*>(_fclosetcpserver));
    add("%AcceptTCPStream%tcp_server", reinterpret_cast<const void*>(_faccepttcpstream));
    add("%TCPStreamIP%tcp_stream", reinterpret_cast<const void*>(_ftcpstreamip));
    add("%TCPStreamPort%tcp_stream", reinterpret_cast<const void*>(_ftcpstreamport));
    add("TCPTimeouts%read_millis%accept_millis", reinterpret_cast<const void*>(_ftcptimeouts));
}

bool sockets_create() {
    socketTimeouts() = SocketTimeouts{};
    return true;
}

void sockets_destroy() {
    SocketsState& state = sockets();
    while (!state.udpStreams.empty()) {
        UdpStream* stream = *state.udpStreams.begin();
        state.udpStreams.erase(state.udpStreams.begin());
        stream->destroy();
    }
    while (!state.tcpStreams.empty()) closeTcpStream(*state.tcpStreams.begin());
    while (!state.tcpServers.empty()) closeTcpServer(*state.tcpServers.begin());
    state.hostAddresses.clear();
}

}  // namespace tarsk
