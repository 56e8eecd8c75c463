// Audio CD drives and their tracks as streams, for the helper library's CD
// functions. Drives are numbered from 0 in the order the engine lists them.
#include "bass_tarsk.h"
#include "registry.h"
#include "sound/engine/cd_audio.h"
#include "sound/engine/streams/source_channel.h"

using namespace tarsk::bass;
namespace audio = tarsk::audio;

namespace {

bool driveName(DWORD drive, std::string& name) {
  auto drives = audio::cdDrives();
  if (drive >= drives.size()) return false;
  name = drives[drive];
  return true;
}

}  // namespace

extern "C" DWORD TarskBassCd_DriveCount(void) {
  setError(BASS_OK);
  return static_cast<DWORD>(audio::cdDrives().size());
}

// The number of audio tracks on the disc in the drive; 0 (with an error) when
// there is no drive or no readable disc.
extern "C" DWORD TarskBassCd_TrackCount(DWORD drive) {
  std::string name;
  if (!driveName(drive, name)) return fail<DWORD>(BASS_ERROR_DEVICE, 0);
  int count = audio::cdTrackCount(name);
  if (count == 0) return fail<DWORD>(BASS_ERROR_NOTAVAIL, 0);
  setError(BASS_OK);
  return static_cast<DWORD>(count);
}

// A stream of `track` (0-based) of the disc in `drive`.
extern "C" HSTREAM TarskBassCd_StreamCreate(DWORD drive, DWORD track, DWORD flags) {
  {
    auto g = lockState();
    if (!state().initialised) return fail<HSTREAM>(BASS_ERROR_INIT, 0);
  }
  std::string name;
  if (!driveName(drive, name)) return fail<HSTREAM>(BASS_ERROR_DEVICE, 0);
  auto source = audio::openCdTrack(name, static_cast<int>(track) + 1);
  if (!source) return fail<HSTREAM>(BASS_ERROR_NOTAVAIL, 0);
  auto g = lockState();
  ChannelEntry entry;
  entry.ctype = BASS_CTYPE_STREAM_CD;
  entry.origres = 16;
  entry.flags = flags & (BASS_SAMPLE_FLOAT | BASS_SAMPLE_8BITS | BASS_SAMPLE_LOOP | BASS_STREAM_DECODE);
  entry.channel = std::make_shared<audio::SourceChannel>(std::move(source));
  entry.channel->loop = flags & BASS_SAMPLE_LOOP;
  entry.filename = name;
  DWORD handle = addChannel(std::move(entry));
  setError(BASS_OK);
  return handle;
}
