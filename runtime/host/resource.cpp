#include "runtime/host/resource.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace tarsk {
namespace {

constexpr char kMagic[8] = {'T', 'A', 'R', 'S', 'K', 'R', 'E', 'S'};
constexpr size_t kTrailerSize = 16;

struct Trailer {
    int32_t id;
    uint32_t size;
};

bool readTrailer(std::FILE* file, long end, Trailer& trailer) {
    if (end < long(kTrailerSize)) return false;
    unsigned char bytes[kTrailerSize];
    if (std::fseek(file, end - long(kTrailerSize), SEEK_SET) != 0 || std::fread(bytes, 1, kTrailerSize, file) != kTrailerSize)
        return false;
    if (std::memcmp(bytes + 8, kMagic, 8) != 0) return false;
    std::memcpy(&trailer.id, bytes, 4);
    std::memcpy(&trailer.size, bytes + 4, 4);
    return trailer.size <= uint32_t(end) - kTrailerSize;
}

}  // namespace

bool readResource(const std::string& path, int32_t id, std::vector<uint8_t>& payload) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    bool found = false;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        long end = std::ftell(file);
        Trailer trailer;
        // Resources are chained from the end of the file backwards.
        while (!found && readTrailer(file, end, trailer)) {
            long start = end - long(kTrailerSize) - long(trailer.size);
            if (trailer.id == id) {
                payload.resize(trailer.size);
                found = std::fseek(file, start, SEEK_SET) == 0 &&
                        std::fread(payload.data(), 1, payload.size(), file) == payload.size();
                if (!found) payload.clear();
                break;
            }
            end = start;
        }
    }
    std::fclose(file);
    return found;
}

bool writeWithResource(const std::string& program, const std::string& output, int32_t id,
                       std::span<const uint8_t> payload, std::string& error) {
    std::ifstream in(program, std::ios::binary);
    if (!in) {
        error = "cannot read " + program;
        return false;
    }
    std::vector<char> contents((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string temporary = output + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        uint32_t size = uint32_t(payload.size());
        out.write(contents.data(), std::streamsize(contents.size()));
        out.write(reinterpret_cast<const char*>(payload.data()), std::streamsize(payload.size()));
        out.write(reinterpret_cast<const char*>(&id), 4);
        out.write(reinterpret_cast<const char*>(&size), 4);
        out.write(kMagic, 8);
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            error = "cannot write " + output;
            return false;
        }
    }
    if (chmod(temporary.c_str(), 0755) != 0 || std::rename(temporary.c_str(), output.c_str()) != 0) {
        error = "cannot write " + output + ": " + std::strerror(errno);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace tarsk
