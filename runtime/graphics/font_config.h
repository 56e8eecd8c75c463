// Face lookup through fontconfig under the project's own configuration (fonts/tarsk-fonts.conf,
// compiled in): the machine's configuration is never read, so names resolve alike everywhere.
#pragma once

#include <string>

namespace tarsk {

struct FaceFile {
    std::string path;
    int index = 0;
    bool bold = false;    // the face itself is bold (otherwise bold is synthesised)
    bool italic = false;  // the face itself is slanted
};

// The best face for a family name and style; an unknown name gets the fallback face.
// An empty path when the configuration has no faces at all.
FaceFile matchFace(const std::string& family, bool bold, bool italic);

// The first face of a font file with its own style; an empty path when it holds none.
FaceFile describeFile(const std::string& path);

// Adds a font file to the faces the lookup knows; false when it holds no usable face.
bool addFontFile(const std::string& path);
// Forgets every added font file.
void removeFontFiles();

}  // namespace tarsk
