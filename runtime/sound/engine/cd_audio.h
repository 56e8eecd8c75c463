#pragma once
// Audio CDs through libcdio: drives of the machine, and cue sheets standing in
// for drives (listed in $TARSK_CD_IMAGES, separated by ':').
#include <memory>
#include <string>
#include <vector>

#include "sound/engine/source.h"

namespace tarsk::audio {

// The drives: images first, then the machine's CD devices.
std::vector<std::string> cdDrives();
// Audio tracks on the disc in `drive` (a device or a cue sheet); 0 when no
// readable disc is there.
int cdTrackCount(const std::string& drive);
// Track `track` (1-based, counted from the disc's first track) as 44100 Hz
// stereo; null when the track does not exist or is not audio.
std::unique_ptr<Source> openCdTrack(const std::string& drive, int track);

}  // namespace tarsk::audio
