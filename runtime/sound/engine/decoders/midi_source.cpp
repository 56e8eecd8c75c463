// Standard MIDI Files through FluidSynth with a General MIDI sound font.
#include <fluidsynth.h>

#include <cmath>
#include <cstdlib>
#include <mutex>

#include "sound/engine/decoders/decoders.h"
#include "sound/engine/decoders/midi_timeline.h"
#include "sound/engine/sound_font.h"

namespace tarsk::audio {
namespace {

void quietLog(int, const char*, void*) {}

class MidiSource final : public Source {
public:
  MidiSource(std::vector<uint8_t> data, MidiTimeline timeline)
      : data_(std::move(data)), timeline_(std::move(timeline)) {
    length_ = static_cast<int64_t>(std::llround(timeline_.durationSeconds() * kSynthRate));
  }
  ~MidiSource() override {
    if (player_) delete_fluid_player(player_);
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
  }

  bool open(const std::string& soundFont) {
    settings_ = new_fluid_settings();
    if (!settings_) return false;
    fluid_settings_setnum(settings_, "synth.sample-rate", kSynthRate);
    fluid_settings_setstr(settings_, "player.timing-source", "sample");
    fluid_settings_setint(settings_, "synth.lock-memory", 0);
    fluid_settings_setint(settings_, "synth.threadsafe-api", 0);
    synth_ = new_fluid_synth(settings_);
    if (!synth_ || fluid_synth_sfload(synth_, soundFont.c_str(), 1) == FLUID_FAILED) return false;
    return restart(0);
  }

  int rate() const override { return kSynthRate; }
  int channels() const override { return 2; }
  int64_t lengthFrames() const override { return length_; }
  SourceType type() const override { return SourceType::Midi; }

  size_t read(float* out, size_t frames) override {
    size_t n = static_cast<size_t>(std::max<int64_t>(0, std::min<int64_t>(
        static_cast<int64_t>(frames), length_ - position_)));
    if (n == 0) return 0;
    fluid_synth_write_float(synth_, static_cast<int>(n), out, 0, 2, out, 1, 2);
    position_ += static_cast<int64_t>(n);
    return n;
  }

  bool seek(int64_t frame) override {
    if (frame < 0 || frame > length_) return false;
    return restart(frame);
  }

private:
  // A new player positioned at `frame`; the synth's voices are silenced first.
  bool restart(int64_t frame) {
    if (player_) {
      fluid_player_stop(player_);
      delete_fluid_player(player_);
      player_ = nullptr;
    }
    fluid_synth_system_reset(synth_);
    player_ = new_fluid_player(synth_);
    if (!player_ || fluid_player_add_mem(player_, data_.data(), data_.size()) != FLUID_OK) return false;
    if (fluid_player_play(player_) != FLUID_OK) return false;
    if (frame > 0) fluid_player_seek(player_, static_cast<int>(timeline_.tickAtSeconds(
                                                  static_cast<double>(frame) / kSynthRate)));
    position_ = frame;
    return true;
  }

  std::vector<uint8_t> data_;
  MidiTimeline timeline_;
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  fluid_player_t* player_ = nullptr;
  int64_t length_ = 0;
  int64_t position_ = 0;
};

}  // namespace

std::unique_ptr<Source> tryMidi(std::unique_ptr<ByteReader>& reader) {
  std::vector<uint8_t> data = reader->readAll();
  auto timeline = MidiTimeline::parse(data);
  if (!timeline) return nullptr;
  std::string font = soundFontPath();
  if (font.empty()) return nullptr;
  static std::once_flag once;
  std::call_once(once, [] {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
      fluid_set_log_function(level, quietLog, nullptr);
  });
  auto source = std::make_unique<MidiSource>(std::move(data), std::move(*timeline));
  if (!source->open(font)) return nullptr;
  return source;
}

}  // namespace tarsk::audio
