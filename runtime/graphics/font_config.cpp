#include "runtime/graphics/font_config.h"

#include <fontconfig/fontconfig.h>


namespace tarsk {

extern const char kFontConfigText[];

namespace {

FcConfig* projectConfig() {
    static FcConfig* config = [] {
        FcConfig* made = FcConfigCreate();
        if (!FcConfigParseAndLoadFromMemory(made, reinterpret_cast<const FcChar8*>(kFontConfigText), FcTrue) ||
            !FcConfigBuildFonts(made)) {
            FcConfigDestroy(made);
            return static_cast<FcConfig*>(nullptr);
        }
        return made;
    }();
    return config;
}

}  // namespace

FaceFile matchFace(const std::string& family, bool bold, bool italic) {
    FaceFile face;
    FcConfig* config = projectConfig();
    if (!config) return face;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return face;
    FcChar8* file = nullptr;
    int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) face.path = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(match, FC_INDEX, 0, &face.index);
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(match, FC_SLANT, 0, &slant);
    face.bold = weight >= FC_WEIGHT_DEMIBOLD;
    face.italic = slant != FC_SLANT_ROMAN;
    FcPatternDestroy(match);
    return face;
}

FaceFile describeFile(const std::string& path) {
    FaceFile face;
    int count = 0;
    FcPattern* pattern = FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(path.c_str()), 0, nullptr, &count);
    if (!pattern) return face;
    int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(pattern, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(pattern, FC_SLANT, 0, &slant);
    face.path = path;
    face.bold = weight >= FC_WEIGHT_DEMIBOLD;
    face.italic = slant != FC_SLANT_ROMAN;
    FcPatternDestroy(pattern);
    return face;
}

bool addFontFile(const std::string& path) {
    FcConfig* config = projectConfig();
    return config && FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(path.c_str()));
}

void removeFontFiles() {
    if (FcConfig* config = projectConfig()) FcConfigAppFontClear(config);
}

}  // namespace tarsk
