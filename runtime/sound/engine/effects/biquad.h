#pragma once
// A second-order filter section (direct form I) with the usual audio designs.
#include <cmath>

namespace tarsk::audio {

class Biquad {
public:
  void lowpass(double hz, double q, int rate) {
    double w = 2 * M_PI * hz / rate, a = std::sin(w) / (2 * q), c = std::cos(w);
    set((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + a, -2 * c, 1 - a);
  }
  // Constant peak gain band-pass; bandwidth in Hz.
  void bandpass(double hz, double bandwidthHz, int rate) {
    double w = 2 * M_PI * hz / rate, q = hz / bandwidthHz, a = std::sin(w) / (2 * q), c = std::cos(w);
    set(a, 0, -a, 1 + a, -2 * c, 1 - a);
  }
  // Peaking equaliser; bandwidth in octaves.
  void peaking(double hz, double octaves, double gainDb, int rate) {
    double A = std::pow(10.0, gainDb / 40), w = 2 * M_PI * hz / rate, s = std::sin(w);
    double a = s * std::sinh(std::log(2.0) / 2 * octaves * w / s), c = std::cos(w);
    set(1 + a * A, -2 * c, 1 - a * A, 1 + a / A, -2 * c, 1 - a / A);
  }
  float run(float x) {
    double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_; x1_ = x; y2_ = y1_; y1_ = y;
    return static_cast<float>(y);
  }
  void clear() { x1_ = x2_ = y1_ = y2_ = 0; }

private:
  void set(double b0, double b1, double b2, double a0, double a1, double a2) {
    b0_ = b0 / a0; b1_ = b1 / a0; b2_ = b2 / a0; a1_ = a1 / a0; a2_ = a2 / a0;
  }
  double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

}  // namespace tarsk::audio
