// The MIDI file timing that gives MIDI streams their length and seek targets.
#include <gtest/gtest.h>

#include "sound/engine/decoders/midi_timeline.h"

namespace tarsk::audio {
namespace {

std::vector<uint8_t> file(std::vector<uint8_t> track, uint16_t division = 480) {
  std::vector<uint8_t> f = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1,
                            static_cast<uint8_t>(division >> 8), static_cast<uint8_t>(division), 'M', 'T', 'r', 'k'};
  for (int shift : {24, 16, 8, 0}) f.push_back(static_cast<uint8_t>(track.size() >> shift));
  f.insert(f.end(), track.begin(), track.end());
  return f;
}

TEST(MidiTimeline, TempoChangesAndRunningStatusShapeTheDuration) {
  // 480 ticks at 120 BPM (0.5 s), a tempo change to 60 BPM, then 480 ticks (1 s),
  // with the note-off written in running status.
  auto t = MidiTimeline::parse(file({0x00, 0x90, 0x40, 0x60,
                                     0x83, 0x60, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40,
                                     0x83, 0x60, 0x40, 0x00,
                                     0x00, 0xFF, 0x2F, 0x00}));
  ASSERT_TRUE(t);
  EXPECT_EQ(t->endTick(), 960);
  EXPECT_DOUBLE_EQ(t->durationSeconds(), 1.5);
  EXPECT_EQ(t->tickAtSeconds(1.0), 720);
  EXPECT_DOUBLE_EQ(t->secondsAtTick(240), 0.25);
}

TEST(MidiTimeline, RefusesWhatIsNotAWellFormedFile) {
  EXPECT_FALSE(MidiTimeline::parse({'R', 'I', 'F', 'F', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(MidiTimeline::parse(file({0x00, 0x90, 0x40, 0x60}, 0)));       // no division
  EXPECT_FALSE(MidiTimeline::parse(file({0x00, 0x90, 0x40, 0x60, 0xFF})));     // varlen cut short
  // A track shorter than its header says is read as far as its whole events go.
  auto truncated = file({0x00, 0x90, 0x40, 0x60, 0x83, 0x60, 0x80, 0x40, 0x00});
  truncated[21] = 0x40;
  auto t = MidiTimeline::parse(truncated);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->endTick(), 480);
}

}  // namespace
}  // namespace tarsk::audio
