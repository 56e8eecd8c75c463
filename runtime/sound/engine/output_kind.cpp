#include <cstdlib>
#include <cstring>

#include "sound/engine/output.h"

namespace tarsk::audio {

OutputKind outputKindFromEnvironment() {
  const char* env = std::getenv("TARSK_AUDIO_OUTPUT");
  if (!env) return OutputKind::Automatic;
  if (std::strcmp(env, "device") == 0) return OutputKind::Device;
  if (std::strcmp(env, "null") == 0) return OutputKind::Null;
  if (std::strcmp(env, "offline") == 0) return OutputKind::Offline;
  return OutputKind::Automatic;
}

}  // namespace tarsk::audio
