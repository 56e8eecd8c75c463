// Program file names: separators, the "C:" root and case-insensitive components.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "runtime/io/path_resolution.h"

namespace tarsk {
namespace {

TEST(PathResolution, SeparatorsAndRoot) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\games\\save.dat", "/games/save.dat"}, {"c:/games", "/games"}, {"C:", "/"},
        {"c:\\", "/"},        {"C:readme", "/readme"}, {"data\\x.bin", "data/x.bin"},
        {"D:\\x", "D:/x"},    {"", ""},                {"a/b\\c/", "a/b/c/"},
    };
    for (auto [program, system] : cases) EXPECT_EQ(normalizedPath(program), system) << program;
}

TEST(PathResolution, MissingComponentsMatchIgnoringCase) {
    namespace fs = std::filesystem;
    fs::path root = fs::temp_directory_path() / ("tarsk-paths-" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "Data" / "Sub");
    for (const char* file : {"Data/Sub/File.TXT", "Same.txt", "same.TXT"}) std::ofstream(root / file) << "x";
    std::string r = root.string();
    const std::pair<std::string, std::string> cases[] = {
        {r + "\\data\\sub\\file.txt", r + "/Data/Sub/File.TXT"},  // every component differs in case
        {r + "/Data/Sub/File.TXT", r + "/Data/Sub/File.TXT"},     // exists as written
        {r + "/DATA/new.txt", r + "/Data/new.txt"},               // new file in a matched folder
        {r + "/missing/DATA", r + "/missing/DATA"},               // nothing after a miss is matched
        {r + "/same.TXT", r + "/same.TXT"},                       // names differing only in case
        {r + "/Same.txt", r + "/Same.txt"},
        {r + "/SAME.TXT", r + "/Same.txt"},                       // ambiguous: first in byte order
        {r + "/data/./sub/../Sub/FILE.txt", r + "/Data/./Sub/../Sub/File.TXT"},
        {r + "/data/", r + "/Data/"},
    };
    for (const auto& [program, system] : cases) EXPECT_EQ(resolvePath(program), system) << program;
    fs::remove_all(root);
}

}  // namespace
}  // namespace tarsk
