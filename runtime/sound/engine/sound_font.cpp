#include "sound/engine/sound_font.h"

#include <cstdlib>
#include <filesystem>

namespace tarsk::audio {

std::string soundFontPath() {
  if (const char* env = std::getenv("TARSK_SOUNDFONT"); env && *env) return env;
  for (const char* candidate : {"/usr/share/sounds/sf2/default-GM.sf2",
                                "/usr/share/sounds/sf2/TimGM6mb.sf2",
                                "/usr/share/sounds/sf2/FluidR3_GM.sf2"}) {
    std::error_code ec;
    if (std::filesystem::exists(candidate, ec)) return candidate;
  }
  return {};
}

}  // namespace tarsk::audio
