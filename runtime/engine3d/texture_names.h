// The name rules of texture loading: the filter list that adds flags by file name, and
// the texture path the model loaders set.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarsk {

// Appends (lower-cased text, flags); ClearTextureFilters empties the list.
void addTextureFilter(std::string_view text, int32_t flags);
void clearTextureFilters();
// The flags of every filter whose text occurs in the lower-cased name, or-ed together.
int32_t filterFlags(std::string_view name);

// The texture path ("" or a lower-cased directory ending in "\").
const std::string& texturePath();

std::string lowerCased(std::string_view text);
// The name without a leading ".\" (or "./").
std::string_view withoutCurrentFolder(std::string_view name);
// The part after the last "\" or "/".
std::string_view fileNamePart(std::string_view name);

}  // namespace tarsk
