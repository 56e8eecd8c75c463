#include "runtime/io/bank.h"

#include <cstring>

#include "runtime/host/arena.h"

namespace tarsk {
namespace {

struct BankKind {
    void (*destroy)(Bank*);
};
const BankKind kBankKind{bankFree};

uint32_t roundUp16(uint64_t size) { return uint32_t((size + 15) & ~uint64_t(15)); }

uint32_t lowAddress(const void* p) { return uint32_t(reinterpret_cast<uintptr_t>(p)); }

}  // namespace

Bank* bankNew(int32_t size) {
    if (size < 0) size = 0;
    uint32_t capacity = roundUp16(uint32_t(size));
    void* storage = capacity ? arenaAlloc(capacity) : nullptr;
    if (capacity && !storage) return nullptr;
    auto* bank = static_cast<Bank*>(arenaAlloc(sizeof(Bank)));
    if (!bank) {
        arenaFree(storage, capacity);
        return nullptr;
    }
    *bank = Bank{lowAddress(&kBankKind), lowAddress(storage), uint32_t(size), capacity};
    return bank;
}

void bankFree(Bank* bank) {
    if (bank->capacity) arenaFree(bank->bytes(), bank->capacity);
    arenaFree(bank, sizeof(Bank));
}

bool bankResize(Bank* bank, int32_t size) {
    uint32_t n = size < 0 ? 0 : uint32_t(size);
    if (n <= bank->size) {
        bank->size = n;
        return true;
    }
    if (n <= bank->capacity) {
        std::memset(bank->bytes() + bank->size, 0, n - bank->size);
        bank->size = n;
        return true;
    }
    uint64_t grown = uint64_t(bank->capacity) * 3 / 2;
    uint32_t capacity = roundUp16(grown < n ? n : grown);
    auto* storage = static_cast<uint8_t*>(arenaAlloc(capacity));  // zeroed
    if (!storage) return false;
    if (bank->size) std::memcpy(storage, bank->bytes(), bank->size);
    if (bank->capacity) arenaFree(bank->bytes(), bank->capacity);
    bank->data = lowAddress(storage);
    bank->capacity = capacity;
    bank->size = n;
    return true;
}

}  // namespace tarsk
