// Block-compressed DDS textures (DXT1, DXT3, DXT5) read into a compressed store.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "runtime/graphics/surface.h"

namespace tarsk {

// True when the path's first ".dds" (as written) is at its very end.
bool isDdsPath(std::string_view path);

// The store with every mipmap level the file holds; nullptr when the file is not a DDS
// file of those codes, its description is inconsistent, or it ends early.
std::unique_ptr<Surface> readDdsFile(const std::string& path);

}  // namespace tarsk
