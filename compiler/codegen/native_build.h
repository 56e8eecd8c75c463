// Compiling generated C units with the system C compiler (in parallel, with a cache
// of objects keyed by their exact C text) and turning the result into a module image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/codegen/c_generation.h"

namespace tarsk::compiler {

struct NativeBuildOptions {
    std::string cacheFolder;  // empty: defaultCacheFolder()
    int jobs = 0;             // 0: one per processor
};

struct NativeBuildResult {
    bool ok = false;
    std::string error;        // "internal compiler error at file.tb:12: ..." and the like
    std::vector<uint8_t> image;
    int compiled = 0;         // units compiled
    int reused = 0;           // units taken from the cache
};

// $TARSK_CACHE, else $XDG_CACHE_HOME/tarsk, else ~/.cache/tarsk.
std::string defaultCacheFolder();

// The flags every unit is compiled with.
const std::vector<std::string>& cCompilerFlags();

NativeBuildResult buildImage(const std::vector<CUnit>& units, const NativeBuildOptions& options);

}  // namespace tarsk::compiler
