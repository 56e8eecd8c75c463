// Audio CD tracks read as raw sectors with libcdio.
#include <cdio/cdio.h>
#include <cdio/logging.h>

#include <cstdlib>
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "sound/engine/cd_audio.h"

namespace tarsk::audio {
namespace {

constexpr int kFramesPerSector = CDIO_CD_FRAMESIZE_RAW / 4;  // 588 stereo 16-bit frames
constexpr int kSectorsPerRead = 16;

bool isCueSheet(const std::string& drive) {
  return drive.size() > 4 && strcasecmp(drive.c_str() + drive.size() - 4, ".cue") == 0;
}

CdIo_t* openDrive(const std::string& drive) {
  cdio_loglevel_default = CDIO_LOG_ERROR;
  return isCueSheet(drive) ? cdio_open_cue(drive.c_str()) : cdio_open(drive.c_str(), DRIVER_UNKNOWN);
}

struct CdHandle {
  explicit CdHandle(const std::string& drive) : cdio(openDrive(drive)) {}
  ~CdHandle() { if (cdio) cdio_destroy(cdio); }
  CdIo_t* cdio;
};

// The disc's tracks that hold audio, as libcdio numbers them.
std::vector<track_t> audioTracks(CdIo_t* cdio) {
  std::vector<track_t> tracks;
  track_t first = cdio_get_first_track_num(cdio), count = cdio_get_num_tracks(cdio);
  if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK) return tracks;
  for (track_t t = first; t < first + count; ++t)
    if (cdio_get_track_format(cdio, t) == TRACK_FORMAT_AUDIO) tracks.push_back(t);
  return tracks;
}

class CdSource final : public Source {
public:
  CdSource(CdIo_t* cdio, lsn_t first, lsn_t last) : cdio_(cdio), first_(first), last_(last) {
    buffer_.resize(static_cast<size_t>(kSectorsPerRead) * CDIO_CD_FRAMESIZE_RAW / 2);
  }
  ~CdSource() override { cdio_destroy(cdio_); }
  int rate() const override { return 44100; }
  int channels() const override { return 2; }
  int64_t lengthFrames() const override { return static_cast<int64_t>(last_ - first_ + 1) * kFramesPerSector; }
  SourceType type() const override { return SourceType::CdAudio; }
  int originalBits() const override { return 16; }

  size_t read(float* out, size_t frames) override {
    size_t done = 0;
    while (done < frames && position_ < lengthFrames()) {
      if (bufferPos_ >= bufferFrames_ && !fill()) break;
      size_t n = std::min(frames - done, bufferFrames_ - bufferPos_);
      for (size_t i = 0; i < n * 2; ++i) out[done * 2 + i] = buffer_[bufferPos_ * 2 + i] / 32768.0f;
      bufferPos_ += n;
      done += n;
      position_ += static_cast<int64_t>(n);
    }
    return done;
  }

  bool seek(int64_t frame) override {
    if (frame < 0 || frame > lengthFrames()) return false;
    position_ = frame;
    bufferPos_ = bufferFrames_ = 0;
    return true;
  }

private:
  // Reads the sectors from the current position; a bad sector ends the track.
  bool fill() {
    lsn_t sector = first_ + static_cast<lsn_t>(position_ / kFramesPerSector);
    int count = std::min<int>(kSectorsPerRead, last_ - sector + 1);
    if (count <= 0) return false;
    if (cdio_read_audio_sectors(cdio_, buffer_.data(), sector, static_cast<uint32_t>(count)) != DRIVER_OP_SUCCESS)
      return false;
    bufferFrames_ = static_cast<size_t>(count) * kFramesPerSector;
    bufferPos_ = static_cast<size_t>(position_ % kFramesPerSector);
    return true;
  }

  CdIo_t* cdio_;
  lsn_t first_, last_;
  std::vector<int16_t> buffer_;
  size_t bufferFrames_ = 0, bufferPos_ = 0;
  int64_t position_ = 0;
};

}  // namespace

std::vector<std::string> cdDrives() {
  std::vector<std::string> drives;
  if (const char* images = std::getenv("TARSK_CD_IMAGES")) {
    std::stringstream list(images);
    for (std::string item; std::getline(list, item, ':');)
      if (!item.empty()) drives.push_back(item);
  }
  cdio_loglevel_default = CDIO_LOG_ERROR;
  if (char** devices = cdio_get_devices(DRIVER_DEVICE)) {
    for (char** d = devices; *d; ++d) drives.emplace_back(*d);
    cdio_free_device_list(devices);
  }
  return drives;
}

int cdTrackCount(const std::string& drive) {
  CdHandle h(drive);
  return h.cdio ? static_cast<int>(audioTracks(h.cdio).size()) : 0;
}

std::unique_ptr<Source> openCdTrack(const std::string& drive, int track) {
  CdIo_t* cdio = openDrive(drive);
  if (!cdio) return nullptr;
  auto tracks = audioTracks(cdio);
  if (track < 1 || track > static_cast<int>(tracks.size())) { cdio_destroy(cdio); return nullptr; }
  track_t t = tracks[track - 1];
  lsn_t first = cdio_get_track_lsn(cdio, t), last = cdio_get_track_last_lsn(cdio, t);
  if (first == CDIO_INVALID_LSN || last == CDIO_INVALID_LSN || last < first) { cdio_destroy(cdio); return nullptr; }
  return std::make_unique<CdSource>(cdio, first, last);
}

}  // namespace tarsk::audio
