// Resources carried inside an executable file: payloads appended after the ELF
// contents, each followed by a trailer {int32 id, uint32 size, "TARSKRES"}.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarsk {

constexpr int32_t kModuleImageResource = 1111;

// Reads the resource with that id from the file; false when it carries none.
bool readResource(const std::string& file, int32_t id, std::vector<uint8_t>& payload);

// Writes a copy of the executable `program` with the payload attached as resource `id`,
// executable by its owner; false (with a reason) on any failure.
bool writeWithResource(const std::string& program, const std::string& output, int32_t id,
                       std::span<const uint8_t> payload, std::string& error);

}  // namespace tarsk
