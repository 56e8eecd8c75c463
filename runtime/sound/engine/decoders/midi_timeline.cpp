#include "sound/engine/decoders/midi_timeline.h"

#include <algorithm>
#include <cstring>

namespace tarsk::audio {
namespace {

class Cursor {
public:
  Cursor(const uint8_t* p, size_t n) : p_(p), n_(n) {}
  bool has(size_t k) const { return n_ - i_ >= k; }
  size_t pos() const { return i_; }
  uint8_t u8() { return has(1) ? p_[i_++] : (bad_ = true, 0); }
  uint32_t be(int bytes) {
    uint32_t v = 0;
    for (int k = 0; k < bytes; ++k) v = (v << 8) | u8();
    return v;
  }
  uint32_t varLen() {
    uint32_t v = 0;
    for (int k = 0; k < 4; ++k) {
      uint8_t b = u8();
      v = (v << 7) | (b & 0x7F);
      if (!(b & 0x80)) return v;
    }
    bad_ = true;
    return v;
  }
  void skip(size_t k) { if (has(k)) i_ += k; else { i_ = n_; bad_ = true; } }
  bool bad() const { return bad_; }

private:
  const uint8_t* p_;
  size_t n_;
  size_t i_ = 0;
  bool bad_ = false;
};

}  // namespace

std::optional<MidiTimeline> MidiTimeline::parse(const std::vector<uint8_t>& data) {
  if (data.size() < 14 || std::memcmp(data.data(), "MThd", 4) != 0) return std::nullopt;
  Cursor c(data.data(), data.size());
  c.skip(4);
  uint32_t headerLen = c.be(4);
  if (headerLen < 6 || !c.has(headerLen)) return std::nullopt;
  c.be(2);  // format
  int tracks = static_cast<int>(c.be(2));
  int16_t division = static_cast<int16_t>(c.be(2));
  c.skip(headerLen - 6);
  MidiTimeline t;
  if (division > 0) {
    t.division_ = division;
  } else {
    int fps = -static_cast<int8_t>(division >> 8);
    int perFrame = division & 0xFF;
    if (fps <= 0 || perFrame <= 0) return std::nullopt;
    t.ticksPerSecond_ = static_cast<double>(fps) * perFrame;
  }
  if (division == 0) return std::nullopt;
  for (int tr = 0; tr < tracks && c.has(8); ++tr) {
    bool isTrack = std::memcmp(data.data() + c.pos(), "MTrk", 4) == 0;
    c.skip(4);
    uint32_t len = c.be(4);
    if (!c.has(len)) len = static_cast<uint32_t>(data.size() - c.pos());
    if (!isTrack) { c.skip(len); continue; }
    Cursor tc(data.data() + c.pos(), len);
    c.skip(len);
    int64_t tick = 0;
    uint8_t status = 0;
    while (tc.has(1) && !tc.bad()) {
      tick += tc.varLen();
      uint8_t b = tc.u8();
      if (b == 0xFF) {
        uint8_t kind = tc.u8();
        uint32_t n = tc.varLen();
        if (kind == 0x51 && n == 3) {
          uint32_t micros = tc.be(3);
          if (micros > 0) t.tempos_.push_back({tick, static_cast<double>(micros)});
        } else {
          tc.skip(n);
        }
        if (kind == 0x2F) { t.endTick_ = std::max(t.endTick_, tick); break; }
        continue;
      }
      if (b == 0xF0 || b == 0xF7) { tc.skip(tc.varLen()); continue; }
      if (b & 0x80) status = b;
      else if (!status) break;  // data byte without a running status
      int dataBytes = ((status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0) ? 1 : 2;
      tc.skip(static_cast<size_t>((b & 0x80) ? dataBytes : dataBytes - 1));
      t.endTick_ = std::max(t.endTick_, tick);
    }
    if (tc.bad()) return std::nullopt;
  }
  std::stable_sort(t.tempos_.begin(), t.tempos_.end(),
                   [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
  return t;
}

double MidiTimeline::secondsAtTick(int64_t tick) const {
  if (ticksPerSecond_ > 0) return static_cast<double>(tick) / ticksPerSecond_;
  double seconds = 0, micros = 500000;
  int64_t at = 0;
  for (const auto& change : tempos_) {
    if (change.tick >= tick) break;
    seconds += static_cast<double>(change.tick - at) * micros / (1e6 * division_);
    at = change.tick;
    micros = change.microsPerQuarter;
  }
  return seconds + static_cast<double>(tick - at) * micros / (1e6 * division_);
}

int64_t MidiTimeline::tickAtSeconds(double target) const {
  if (ticksPerSecond_ > 0) return static_cast<int64_t>(target * ticksPerSecond_);
  double seconds = 0, micros = 500000;
  int64_t at = 0;
  for (const auto& change : tempos_) {
    double next = seconds + static_cast<double>(change.tick - at) * micros / (1e6 * division_);
    if (next > target) break;
    seconds = next;
    at = change.tick;
    micros = change.microsPerQuarter;
  }
  return at + static_cast<int64_t>((target - seconds) * 1e6 * division_ / micros);
}

}  // namespace tarsk::audio
