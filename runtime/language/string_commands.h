// The string command module's text rules, shared with tests and other modules.
#pragma once

#include <string>
#include <string_view>

namespace tarsk {

// Every occurrence of `from` replaced by `to`, left to right, without overlap; the
// search resumes after the inserted text. An empty `from` leaves the text unchanged.
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);
// Without leading and trailing bytes below 33 or equal to 127; bytes 128 to 255 are kept
// (letters of the 8-bit code page).
std::string_view trimmed(std::string_view text);

}  // namespace tarsk
