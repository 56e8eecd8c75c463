// Reading a 100 MB file through the stream commands against read(2) in large blocks,
// and TCP loopback throughput through WriteBytes/ReadBytes against a plain socket pair.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "runtime/host/registry.h"
#include "runtime/language/strings.h"
#include "tests/io/loopback_peer.h"

extern "C" {
int32_t _freadfile(tbString*);
void _fclosefile(int32_t);
int32_t _feof(int32_t);
int32_t _freadbyte(int32_t);
int32_t _freadint(int32_t);
int32_t _fcreatebank(int32_t);
void _ffreebank(int32_t);
int32_t _freadbytes(int32_t, int32_t, int32_t, int32_t);
int32_t _fwritebytes(int32_t, int32_t, int32_t, int32_t);
int32_t _fcreatetcpserver(int32_t);
void _fclosetcpserver(int32_t);
int32_t _faccepttcpstream(int32_t);
int32_t _fopentcpstream(tbString*, int32_t, int32_t);
void _fclosetcpstream(int32_t);
void _ftcptimeouts(int32_t, int32_t);
}

namespace tarsk {
bool filesystem_create();
}

namespace {

constexpr int64_t kFileSize = 100 << 20;
constexpr int32_t kBlock = 1 << 20;

const std::string& bigFile() {
    static const std::string path = [] {
        std::string name = (std::filesystem::temp_directory_path() / "tarsk-io-bench.bin").string();
        std::vector<char> block(kBlock, 'x');
        FILE* out = std::fopen(name.c_str(), "wb");
        for (int64_t done = 0; done < kFileSize; done += kBlock) std::fwrite(block.data(), 1, block.size(), out);
        std::fclose(out);
        tarsk::filesystem_create();
        return name;
    }();
    return path;
}

void BM_FileReadSyscall(benchmark::State& state) {
    std::vector<char> buffer(kBlock);
    for (auto _ : state) {
        int fd = open(bigFile().c_str(), O_RDONLY);
        while (read(fd, buffer.data(), buffer.size()) > 0) {
        }
        close(fd);
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

void BM_FileReadBytes(benchmark::State& state) {
    int32_t bank = _fcreatebank(kBlock);
    for (auto _ : state) {
        int32_t file = _freadfile(tarsk::stringNew(bigFile()));
        while (_freadbytes(bank, file, 0, kBlock) > 0) {
        }
        _fclosefile(file);
    }
    _ffreebank(bank);
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

void BM_FileReadInt(benchmark::State& state) {
    for (auto _ : state) {
        int32_t file = _freadfile(tarsk::stringNew(bigFile()));
        int32_t sum = 0;
        for (int64_t i = 0; i < kFileSize / 4; ++i) sum += _freadint(file);
        benchmark::DoNotOptimize(sum);
        _fclosefile(file);
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

void BM_FileReadByte(benchmark::State& state) {
    for (auto _ : state) {
        int32_t file = _freadfile(tarsk::stringNew(bigFile()));
        int32_t sum = 0;
        for (int64_t i = 0; i < kFileSize; ++i) sum += _freadbyte(file);
        benchmark::DoNotOptimize(sum);
        _fclosefile(file);
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

constexpr int32_t kTransfer = 64 << 20;
constexpr int32_t kChunk = 65536;

using tarsk::test::freePort;

// Two connected plain TCP sockets on the loopback interface.
void loopbackPair(int pair[2]) {
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener, 1);
    socklen_t length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    pair[0] = socket(AF_INET, SOCK_STREAM, 0);
    connect(pair[0], reinterpret_cast<sockaddr*>(&address), sizeof address);
    pair[1] = accept(listener, nullptr, nullptr);
    close(listener);
}

void BM_TcpPlainSockets(benchmark::State& state) {
    int pair[2];
    loopbackPair(pair);
    std::vector<char> buffer(kChunk);
    for (auto _ : state) {
        std::thread writer([&] {
            std::vector<char> data(kChunk, 'y');
            for (int32_t sent = 0; sent < kTransfer;) {
                ssize_t n = send(pair[0], data.data(), data.size(), MSG_NOSIGNAL);
                if (n <= 0) break;
                sent += int32_t(n);
            }
        });
        for (int64_t got = 0; got < kTransfer;) {
            ssize_t n = recv(pair[1], buffer.data(), buffer.size(), 0);
            if (n <= 0) break;
            got += n;
        }
        writer.join();
    }
    close(pair[0]);
    close(pair[1]);
    state.SetBytesProcessed(state.iterations() * int64_t(kTransfer));
}

void BM_TcpLoopbackStreams(benchmark::State& state) {
    int port = freePort();
    int32_t server = _fcreatetcpserver(port);
    _ftcptimeouts(10000, 5000);
    int32_t client = _fopentcpstream(tarsk::stringNew("127.0.0.1"), port, 0);
    int32_t accepted = _faccepttcpstream(server);
    int32_t sendBank = _fcreatebank(kChunk);
    int32_t receiveBank = _fcreatebank(kChunk);
    for (auto _ : state) {
        std::thread writer([&] {
            for (int32_t sent = 0; sent < kTransfer; sent += kChunk) _fwritebytes(sendBank, client, 0, kChunk);
        });
        for (int32_t got = 0; got < kTransfer; got += kChunk) _freadbytes(receiveBank, accepted, 0, kChunk);
        writer.join();
    }
    _fclosetcpstream(client);
    _fclosetcpserver(server);
    state.SetBytesProcessed(state.iterations() * int64_t(kTransfer));
}

}  // namespace

BENCHMARK(BM_FileReadSyscall)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileReadBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileReadInt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileReadByte)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TcpPlainSockets)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TcpLoopbackStreams)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
