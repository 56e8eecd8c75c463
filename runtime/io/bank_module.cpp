// The bank command module. Bank handles, offsets and counts are checked always:
// they guard memory.
#include <cstring>
#include <set>

#include "runtime/host/arena.h"
#include "runtime/host/gx_host.h"
#include "runtime/host/registry.h"
#include "runtime/host/runtime_error.h"
#include "runtime/io/bank.h"
#include "runtime/io/stream.h"
#include "runtime/language/strings.h"

using tarsk::Bank;
using tarsk::runtimeError;

namespace {

std::set<Bank*>& banks() {
    static std::set<Bank*> set;
    return set;
}

Bank* existingBank(int32_t handle) {
    Bank* bank = tarsk::fromHandle<Bank>(handle);
    if (!handle || banks().count(bank) == 0) runtimeError("tbBank does not exist");
    return bank;
}

// The bank's bytes offset .. offset + count - 1, which must lie inside it.
uint8_t* bankRange(Bank* bank, int32_t offset, int32_t count) {
    if (offset < 0 || count < 0 || int64_t(offset) + count > int64_t(bank->size)) runtimeError("Offset out of range");
    return bank->bytes() + offset;
}

int32_t checkedSize(int32_t size) {
    if (size < 0) runtimeError("Illegal bank size");
    return size;
}

template <class T>
T peek(int32_t handle, int32_t offset) {
    T value;
    std::memcpy(&value, bankRange(existingBank(handle), offset, sizeof(T)), sizeof(T));
    return value;
}

template <class T>
void poke(int32_t handle, int32_t offset, T value) {
    std::memcpy(bankRange(existingBank(handle), offset, sizeof(T)), &value, sizeof(T));
}

}  // namespace

extern "C" {

int32_t _fcreatebank(int32_t size) {
    Bank* bank = tarsk::bankNew(checkedSize(size));
    if (!bank) runtimeError("Out of memory");
    banks().insert(bank);
    return tarsk::handleOf(bank);
}

void _ffreebank(int32_t handle) {
    Bank* bank = tarsk::fromHandle<Bank>(handle);
    if (banks().erase(bank)) tarsk::bankFree(bank);
}

int32_t _fbanksize(int32_t handle) { return int32_t(existingBank(handle)->size); }

void _fresizebank(int32_t handle, int32_t size) {
    Bank* bank = existingBank(handle);
    if (!tarsk::bankResize(bank, checkedSize(size))) runtimeError("Out of memory");
}

void _fcopybank(int32_t source, int32_t sourceOffset, int32_t dest, int32_t destOffset, int32_t count) {
    uint8_t* from = bankRange(existingBank(source), sourceOffset, count);
    uint8_t* to = bankRange(existingBank(dest), destOffset, count);
    std::memmove(to, from, size_t(count));
}

int32_t _fpeekbyte(int32_t bank, int32_t offset) { return peek<uint8_t>(bank, offset); }
int32_t _fpeekshort(int32_t bank, int32_t offset) { return peek<uint16_t>(bank, offset); }
int32_t _fpeekint(int32_t bank, int32_t offset) { return peek<int32_t>(bank, offset); }
float _fpeekfloat(int32_t bank, int32_t offset) { return peek<float>(bank, offset); }
void _fpokebyte(int32_t bank, int32_t offset, int32_t value) { poke<uint8_t>(bank, offset, uint8_t(value)); }
void _fpokeshort(int32_t bank, int32_t offset, int32_t value) { poke<uint16_t>(bank, offset, uint16_t(value)); }
void _fpokeint(int32_t bank, int32_t offset, int32_t value) { poke<int32_t>(bank, offset, value); }
void _fpokefloat(int32_t bank, int32_t offset, float value) { poke<float>(bank, offset, value); }

int32_t _freadbytes(int32_t bank, int32_t stream, int32_t offset, int32_t count) {
    uint8_t* bytes = bankRange(existingBank(bank), offset, count);
    return tarsk::liveStream(stream)->read(bytes, count);
}

int32_t _fwritebytes(int32_t bank, int32_t stream, int32_t offset, int32_t count) {
    uint8_t* bytes = bankRange(existingBank(bank), offset, count);
    return tarsk::liveStream(stream)->write(bytes, count);
}

int32_t _fcalldll(tbString* library, tbString* function, int32_t inBank, int32_t outBank) {
    std::string libraryName = tarsk::stringTake(library);
    std::string functionName = tarsk::stringTake(function);
    Bank* in = inBank ? existingBank(inBank) : nullptr;
    Bank* out = outBank ? existingBank(outBank) : nullptr;
    tarsk::gxHost* host = tarsk::currentHost();
    if (!host) return 0;
    return host->callLibraryFunction(libraryName, functionName, in ? in->bytes() : nullptr,
                                     in ? int32_t(in->size) : 0, out ? out->bytes() : nullptr,
                                     out ? int32_t(out->size) : 0);
}

}  // extern "C"

namespace tarsk {

void bank_link(Registrar add) {
    add("%CreateBank%size=0", reinterpret_cast<const void*>(_fcreatebank));
    add("FreeBank%bank", reinterpret_cast<const void*>(_ffreebank));
    add("%BankSize%bank", reinterpret_cast<const void*>(_fbanksize));
    add("ResizeBank%bank%size", reinterpret_cast<const void*>(_fresizebank));
    add("CopyBank%src_bank%src_offset%dest_bank%dest_offset%count", reinterpret_cast<const void*>(_fcopybank));
    add("%PeekByte%bank%offset", reinterpret_cast<const void*>(_fpeekbyte));
    add("%PeekShort%bank%offset", reinterpret_cast<const void*>(_fpeekshort));
    add("%PeekInt%bank%offset", reinterpret_cast<const void*>(_fpeekint));
    add("#PeekFloat%bank%offset", reinterpret_cast<const void*>(_fpeekfloat));
    add("PokeByte%bank%offset%value", reinterpret_cast<const void*>(_fpokebyte));
    add("PokeShort%bank%offset%value", reinterpret_cast<const void*>(_fpokeshort));
    add("PokeInt%bank%offset%value", reinterpret_cast<const void*>(_fpokeint));
    add("PokeFloat%bank%offset#value", reinterpret_cast<const void*>(_fpokefloat));
    add("%ReadBytes%bank%file%offset%count", reinterpret_cast<const void*>(_freadbytes));
    add("%WriteBytes%bank%file%offset%count", reinterpret_cast<const void*>(_fwritebytes));
    add("%CallDLL$dll_name$func_name%in_bank=0%out_bank=0", reinterpret_cast<const void*>(_fcalldll));
}

bool bank_create() { return true; }

void bank_destroy() {
    auto& set = banks();
    while (!set.empty()) {
        Bank* bank = *set.begin();
        set.erase(set.begin());
        bankFree(bank);
    }
}

}  // namespace tarsk
