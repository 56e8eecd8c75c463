#include "runtime/host/module_image.h"

#include <sys/mman.h>

#include <cstring>

namespace tarsk {
namespace {

void putInt(std::vector<uint8_t>& out, int32_t value) {
    auto u = uint32_t(value);
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(u >> (8 * i)));
}

void putTable(std::vector<uint8_t>& out, const std::vector<ImageEntry>& table) {
    putInt(out, int32_t(table.size()));
    for (const ImageEntry& entry : table) {
        out.insert(out.end(), entry.name.begin(), entry.name.end());
        out.push_back(0);
        putInt(out, entry.offset);
    }
}

int32_t readInt(const uint8_t* p) {
    uint32_t u = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    return int32_t(u);
}

void writeInt(uint8_t* p, int32_t value) {
    auto u = uint32_t(value);
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(u >> (8 * i));
}

// A bounds-checked walk over the image's bytes.
class Reader {
public:
    explicit Reader(std::span<const uint8_t> data) : data_(data) {}
    bool readInt(int32_t& value) {
        if (data_.size() - pos_ < 4) return false;
        value = tarsk::readInt(data_.data() + pos_);
        pos_ += 4;
        return true;
    }
    bool readName(std::string_view& name) {
        const void* end = std::memchr(data_.data() + pos_, 0, data_.size() - pos_);
        if (!end) return false;
        size_t length = static_cast<const uint8_t*>(end) - (data_.data() + pos_);
        name = std::string_view(reinterpret_cast<const char*>(data_.data() + pos_), length);
        pos_ += length + 1;
        return true;
    }
    bool skip(size_t bytes, const uint8_t*& start) {
        if (data_.size() - pos_ < bytes) return false;
        start = data_.data() + pos_;
        pos_ += bytes;
        return true;
    }

private:
    std::span<const uint8_t> data_;
    size_t pos_ = 0;
};

struct EntryView {
    std::string_view name;
    int32_t offset;
};

struct ImageView {
    const uint8_t* code = nullptr;
    int32_t codeSize = 0;
    std::vector<EntryView> defined, relative, absolute;
};

bool readTable(Reader& reader, std::vector<EntryView>& table) {
    int32_t count;
    if (!reader.readInt(count)) return false;
    for (int32_t i = 0; i < count; ++i) {
        EntryView entry;
        if (!reader.readName(entry.name) || !reader.readInt(entry.offset)) return false;
        table.push_back(entry);
    }
    return true;
}

bool fieldInside(int32_t offset, int32_t codeSize) { return offset >= 0 && offset <= codeSize - 4; }

bool readView(std::span<const uint8_t> data, ImageView& view) {
    Reader reader(data);
    if (!reader.readInt(view.codeSize) || view.codeSize < 0) return false;
    if (!reader.skip(size_t(view.codeSize), view.code)) return false;
    if (!readTable(reader, view.defined) || !readTable(reader, view.relative) ||
        !readTable(reader, view.absolute))
        return false;
    for (const EntryView& e : view.defined)
        if (e.offset < 0 || e.offset >= view.codeSize) return false;
    for (const EntryView& e : view.relative)
        if (!fieldInside(e.offset, view.codeSize)) return false;
    for (const EntryView& e : view.absolute)
        if (!fieldInside(e.offset, view.codeSize)) return false;
    return true;
}

void copyTable(const std::vector<EntryView>& from, std::vector<ImageEntry>& to) {
    for (const EntryView& e : from) to.push_back({std::string(e.name), e.offset});
}

extern "C" void __register_frame(void* begin);

}  // namespace

std::vector<uint8_t> serializeImage(const ModuleImage& image) {
    std::vector<uint8_t> out;
    putInt(out, int32_t(image.code.size()));
    out.insert(out.end(), image.code.begin(), image.code.end());
    putTable(out, image.defined);
    putTable(out, image.relative);
    putTable(out, image.absolute);
    return out;
}

bool parseImage(std::span<const uint8_t> data, ModuleImage& image) {
    ImageView view;
    if (!readView(data, view)) return false;
    image.code.assign(view.code, view.code + view.codeSize);
    copyTable(view.defined, image.defined);
    copyTable(view.relative, image.relative);
    copyTable(view.absolute, image.absolute);
    return true;
}

LinkResult loadModuleImage(std::span<const uint8_t> data, const SymbolTable& runtime) {
    LinkResult result;
    result.status = LinkStatus::BadImage;
    ImageView view;
    if (!readView(data, view)) return result;

    size_t mapped = (size_t(view.codeSize) + 4095) & ~size_t(4095);
    if (mapped == 0) mapped = 4096;
    void* memory = mmap(nullptr, mapped, PROT_READ | PROT_WRITE | PROT_EXEC,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT, -1, 0);
    if (memory == MAP_FAILED) return result;
    auto* base = static_cast<uint8_t*>(memory);
    std::memcpy(base, view.code, size_t(view.codeSize));
    result.base = base;
    result.size = mapped;

    std::unordered_map<std::string_view, uint32_t> module;
    module.reserve(view.defined.size());
    for (const EntryView& e : view.defined) module[e.name] = uint32_t(reinterpret_cast<uintptr_t>(base + e.offset));

    auto resolve = [&](std::string_view name, uint32_t& address) {
        if (auto found = module.find(name); found != module.end()) {
            address = found->second;
            return true;
        }
        if (auto found = runtime.find(name); found != runtime.end()) {
            address = found->second;
            return true;
        }
        result.status = LinkStatus::MissingSymbol;
        result.missingSymbol = std::string(name);
        return false;
    };

    for (const EntryView& e : view.relative) {
        uint32_t target;
        if (!resolve(e.name, target)) return result;
        uint8_t* field = base + e.offset;
        int64_t patched = int64_t(readInt(field)) + int64_t(target) - int64_t(reinterpret_cast<uintptr_t>(field));
        if (patched != int64_t(int32_t(patched))) return result;  // out of reach of a 32-bit displacement
        writeInt(field, int32_t(patched));
    }
    for (const EntryView& e : view.absolute) {
        uint32_t target;
        if (!resolve(e.name, target)) return result;
        uint8_t* field = base + e.offset;
        writeInt(field, int32_t(uint32_t(readInt(field)) + target));
    }
    if (auto unwind = module.find(kUnwindTableSymbol); unwind != module.end())
        __register_frame(reinterpret_cast<void*>(uintptr_t(unwind->second)));
    result.status = LinkStatus::Linked;
    return result;
}

std::string linkFailureMessage(const LinkResult& result) {
    if (result.status == LinkStatus::MissingSymbol) return "Can't find symbol: " + result.missingSymbol;
    return "Unable to run Tarsk Basic module";
}

}  // namespace tarsk
