// Module images: code block plus defined-symbol, relative and absolute relocation
// tables (32-bit little-endian fields, NUL-terminated names).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarsk {

struct ImageEntry {
    std::string name;
    int32_t offset;
};

struct ModuleImage {
    std::vector<uint8_t> code;
    std::vector<ImageEntry> defined;
    std::vector<ImageEntry> relative;
    std::vector<ImageEntry> absolute;
};

std::vector<uint8_t> serializeImage(const ModuleImage& image);

// Reads an image, checking every size, count, name and offset against the data.
bool parseImage(std::span<const uint8_t> data, ModuleImage& image);

struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const { return std::hash<std::string_view>()(name); }
};
using SymbolTable = std::unordered_map<std::string, uint32_t, NameHash, std::equal_to<>>;

// The runtime symbol table: link name -> address of every registered entry point,
// plus the few C library routines that the C compiler may call on its own.
SymbolTable runtimeSymbolTable();

enum class LinkStatus { Linked, BadImage, MissingSymbol };

struct LinkResult {
    LinkStatus status;
    void* base = nullptr;     // the loaded image, when linked
    size_t size = 0;
    std::string missingSymbol;
};

// Copies the image into executable memory below 2 GiB, resolves every name (module
// first, then runtime) and patches the relocations; registers the image's unwind
// tables (symbol "__EH_FRAME") so that runtime errors unwind through compiled code.
LinkResult loadModuleImage(std::span<const uint8_t> data, const SymbolTable& runtime);

// The name under which an image carries its unwind tables.
inline constexpr std::string_view kUnwindTableSymbol = "__EH_FRAME";

// The messages of a failed load.
std::string linkFailureMessage(const LinkResult& result);

}  // namespace tarsk
