#pragma once
#include <string>

namespace tarsk::audio {

// The General MIDI sound font for MIDI files: $TARSK_SOUNDFONT when set, else the
// system's default one. Empty when none is installed.
std::string soundFontPath();

}  // namespace tarsk::audio
