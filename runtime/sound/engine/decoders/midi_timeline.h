#pragma once
// The timing of a Standard MIDI File: its tempo map and the tick of its last event.
#include <cstdint>
#include <optional>
#include <vector>

namespace tarsk::audio {

class MidiTimeline {
public:
  // Null when the data is not a well-formed Standard MIDI File.
  static std::optional<MidiTimeline> parse(const std::vector<uint8_t>& data);
  double secondsAtTick(int64_t tick) const;
  int64_t tickAtSeconds(double seconds) const;
  int64_t endTick() const { return endTick_; }
  double durationSeconds() const { return secondsAtTick(endTick_); }

private:
  struct TempoChange { int64_t tick; double microsPerQuarter; };
  int division_ = 480;          // ticks per quarter note
  double ticksPerSecond_ = 0;   // SMPTE timing when > 0
  std::vector<TempoChange> tempos_;
  int64_t endTick_ = 0;
};

}  // namespace tarsk::audio
