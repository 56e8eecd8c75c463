#include "runtime/language/call_trampolines.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <utility>

namespace tarsk {
namespace {

constexpr uintptr_t kLowLimit = uintptr_t(1) << 31;
constexpr size_t kTrampolineSize = 16;  // movabs r11, target; jmp r11; padding

std::vector<std::pair<void*, size_t>> mappings;

bool isLow(const void* address) { return reinterpret_cast<uintptr_t>(address) < kLowLimit; }

void writeTrampoline(uint8_t* code, const void* target) {
    static const uint8_t kMovR11[] = {0x49, 0xBB};
    static const uint8_t kJmpR11[] = {0x41, 0xFF, 0xE3};
    uint64_t address = reinterpret_cast<uintptr_t>(target);
    std::memset(code, 0xCC, kTrampolineSize);
    std::memcpy(code, kMovR11, sizeof kMovR11);
    std::memcpy(code + 2, &address, sizeof address);
    std::memcpy(code + 10, kJmpR11, sizeof kJmpR11);
}

}  // namespace

std::vector<uint32_t> lowCallAddresses(const std::vector<void*>& targets) {
    size_t farCount = 0;
    for (void* target : targets) farCount += !isLow(target);
    uint8_t* code = nullptr;
    size_t bytes = 0;
    if (farCount) {
        size_t page = size_t(sysconf(_SC_PAGESIZE));
        bytes = (farCount * kTrampolineSize + page - 1) / page * page;
        void* mapped = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT, -1, 0);
        if (mapped == MAP_FAILED) return {};
        code = static_cast<uint8_t*>(mapped);
    }
    std::vector<uint32_t> addresses;
    addresses.reserve(targets.size());
    size_t next = 0;
    for (void* target : targets) {
        if (isLow(target)) {
            addresses.push_back(uint32_t(reinterpret_cast<uintptr_t>(target)));
            continue;
        }
        uint8_t* trampoline = code + kTrampolineSize * next++;
        writeTrampoline(trampoline, target);
        addresses.push_back(uint32_t(reinterpret_cast<uintptr_t>(trampoline)));
    }
    if (code) {
        mprotect(code, bytes, PROT_READ | PROT_EXEC);
        mappings.emplace_back(code, bytes);
    }
    return addresses;
}

void releaseTrampolines() {
    for (auto [address, bytes] : mappings) munmap(address, bytes);
    mappings.clear();
}

}  // namespace tarsk
