// TCP and UDP streams against real loopback peers.
#include <poll.h>

#include <chrono>
#include <future>

#include "io_fixture.h"
#include "loopback_peer.h"

namespace tarsk::test {
namespace {

constexpr int32_t kLoopback = 0x7F000001;

// Waits until the peer sees the connection end, at most one second.
void awaitClose(int connection) {
    pollfd entry{connection, POLLIN, 0};
    char byte;
    while (poll(&entry, 1, 1000) > 0 && recv(connection, &byte, 1, 0) > 0) {
    }
}

class Sockets : public ::testing::Test {
protected:
    void SetUp() override { _ftcptimeouts(2000, 0); }
    void TearDown() override {
        sockets_destroy();
        _ftcptimeouts(10000, 0);
        _fudptimeouts(0);
    }
};

TEST_F(Sockets, DottedAddressesAndHostLookUps) {
    EXPECT_EQ(text(_fdottedip(kLoopback)), "127.0.0.1");
    EXPECT_EQ(text(_fdottedip(-1)), "255.255.255.255");
    EXPECT_EQ(text(_fdottedip(0x0A000102)), "10.0.1.2");
    ASSERT_GE(_fcounthostips(S("localhost")), 1);
    EXPECT_EQ(_fhostip(1), kLoopback);
    EXPECT_EQ(_fcounthostips(S("nonexistent.invalid")), 0);
    EXPECT_EQ(errorOf([] { _fhostip(1); }), "Host index out of range");
    EXPECT_EQ(errorOf([] { _fhostip(0); }), "Host index out of range");
}

TEST_F(Sockets, ReadThatCannotCompleteInTimeFailsTheStreamWithWhatArrived) {
    std::promise<void> done;
    LoopbackPeer peer([&](int connection) {
        sendAll(connection, "\x01\x02", 2);
        done.get_future().wait_for(std::chrono::seconds(5));
    });
    _ftcptimeouts(200, 0);
    int32_t stream = _fopentcpstream(S("127.0.0.1"), peer.port(), 0);
    ASSERT_NE(stream, 0);
    EXPECT_EQ(_ftcpstreamip(stream), kLoopback);
    EXPECT_EQ(_ftcpstreamport(stream), peer.port());
    EXPECT_EQ(_freadint(stream), 0x0201);
    EXPECT_EQ(_feof(stream), -1);
    EXPECT_EQ(_freadavail(stream), 0);
    _fwriteint(stream, 1);  // does nothing once failed
    EXPECT_EQ(_feof(stream), -1);
    _fclosetcpstream(stream);
    done.set_value();
}

TEST_F(Sockets, PeerThatClosesGivesEndOfFileAndWritesNeverRaiseSigpipe) {
    LoopbackPeer peer([](int connection) { sendAll(connection, "\x2A\x00\x00\x00", 4); });
    int32_t stream = _fopentcpstream(S("localhost"), peer.port(), 0);
    ASSERT_NE(stream, 0);
    EXPECT_EQ(_freadint(stream), 42);
    // Once the peer is gone, writes fail the stream instead of killing the process.
    int32_t bank = _fcreatebank(65536);
    int32_t written = 65536;
    for (int i = 0; i < 100 && written != 0; ++i) written = _fwritebytes(bank, stream, 0, 65536);
    EXPECT_EQ(written, 0);
    EXPECT_EQ(_feof(stream), -1);
    EXPECT_EQ(_freadint(stream), 0);
    bank_destroy();
}

TEST_F(Sockets, EndOfFileAfterAnOrderlyClose) {
    LoopbackPeer peer([](int) {});
    int32_t stream = _fopentcpstream(S("127.0.0.1"), peer.port(), 0);
    ASSERT_NE(stream, 0);
    for (int i = 0; i < 100 && _feof(stream) == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(_feof(stream), 1);
    EXPECT_EQ(_freadavail(stream), 0);
    EXPECT_EQ(_freadbyte(stream), 0);
}

TEST_F(Sockets, PeerThatResetsFailsTheStream) {
    LoopbackPeer peer([](int connection) {
        linger abort{1, 0};
        setsockopt(connection, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    });
    int32_t stream = _fopentcpstream(S("127.0.0.1"), peer.port(), 0);
    ASSERT_NE(stream, 0);
    EXPECT_EQ(_freadint(stream), 0);
    EXPECT_EQ(_feof(stream), -1);
}

TEST_F(Sockets, ServersAcceptWithinTheirTimeout) {
    EXPECT_EQ(_fopentcpstream(S("127.0.0.1"), freePort(), 0), 0);  // nobody listens
    int port = freePort();
    int32_t server = _fcreatetcpserver(port);
    ASSERT_NE(server, 0);
    EXPECT_EQ(_fcreatetcpserver(port), 0);  // taken
    EXPECT_EQ(_faccepttcpstream(server), 0);  // nobody is connecting: no wait

    auto client = std::async(std::launch::async, [port] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        int s = connectTo(port);
        sendAll(s, "ping", 4);
        awaitClose(s);
        close(s);
    });
    _ftcptimeouts(2000, 3000);
    int32_t stream = _faccepttcpstream(server);
    ASSERT_NE(stream, 0);
    EXPECT_EQ(_ftcpstreamip(stream), kLoopback);
    EXPECT_NE(_ftcpstreamport(stream), 0);
    EXPECT_EQ(text(_freadline(stream)), "ping");  // then the line ends with the stream's failure
    _fclosetcpserver(server);  // closes the accepted stream too
    EXPECT_EQ(errorOf([&] { _fclosetcpstream(stream); }), "TCP Stream does not exist");
    EXPECT_EQ(errorOf([&] { _faccepttcpstream(server); }), "TCP Server does not exist");
    client.get();
}

TEST_F(Sockets, UdpCollectsOneDatagramAndHoldsTheLastOneReceived) {
    int32_t a = _fcreateudpstream(0);
    int32_t b = _fcreateudpstream(0);
    ASSERT_NE(a, 0);
    ASSERT_NE(b, 0);
    EXPECT_EQ(_fudpstreamip(a), 0);
    EXPECT_NE(_fudpstreamport(a), 0);
    EXPECT_EQ(_fudpmsgport(a), _fudpstreamport(a));
    EXPECT_EQ(_frecvudpmsg(b), 0);  // nothing sent yet, no wait
    EXPECT_EQ(_feof(b), 1);

    _fudptimeouts(2000);
    _fwriteint(a, 1);
    _fwriteint(a, 2);
    _fsendudpmsg(a, kLoopback, _fudpstreamport(b));
    EXPECT_EQ(_frecvudpmsg(b), kLoopback);
    EXPECT_EQ(_fudpmsgip(b), kLoopback);
    EXPECT_EQ(_fudpmsgport(b), _fudpstreamport(a));
    EXPECT_EQ(_freadavail(b), 8);
    EXPECT_EQ(_freadint(b), 1);
    EXPECT_EQ(_feof(b), 0);
    EXPECT_EQ(_freadint(b), 2);
    EXPECT_EQ(_feof(b), 1);
    EXPECT_EQ(_freadint(b), 0);

    _fsendudpmsg(a, kLoopback, _fudpstreamport(b));  // the message was cleared: zero bytes
    EXPECT_EQ(_frecvudpmsg(b), kLoopback);
    EXPECT_EQ(_freadavail(b), 0);
    EXPECT_EQ(_feof(b), 1);

    // Port 0 sends to the stream's own port.
    _fwritebyte(b, 9);
    _fsendudpmsg(b, kLoopback, 0);
    EXPECT_EQ(_frecvudpmsg(b), kLoopback);
    EXPECT_EQ(_freadbyte(b), 9);

    _fcloseudpstream(a);
    EXPECT_EQ(errorOf([&] { _fcloseudpstream(a); }), "UDP Stream does not exist");
    EXPECT_EQ(errorOf([&] { _freadint(a); }), "Stream does not exist");
}

}  // namespace
}  // namespace tarsk::test
