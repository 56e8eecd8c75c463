// Folder listings, file types and sizes, copying and deleting by program names.
#include <unistd.h>

#include <vector>

#include "io_fixture.h"

namespace tarsk::test {
namespace {

using FolderCommands = ScratchFolder;

std::vector<std::string> listing(int32_t dir) {
    std::vector<std::string> names;
    for (std::string name; !(name = text(_fnextfile(dir))).empty();) names.push_back(name);
    return names;
}

TEST_F(FolderCommands, ListingsComeInByteOrderWithOrWithoutTrailingSeparator) {
    std::filesystem::create_directory(root_ / "sub");
    for (const char* file : {"b.txt", "B.txt", "a.bin", "sub/inner"}) writeBytes(root_ / file, "x");
    const std::vector<std::string> expected{".", "..", "B.txt", "a.bin", "b.txt", "sub"};
    for (const std::string& dirname : {name(""), name("").substr(0, name("").size() - 1), name("SUB\\..")}) {
        int32_t dir = _freaddir(S(dirname));
        ASSERT_NE(dir, 0) << dirname;
        EXPECT_EQ(listing(dir), expected) << dirname;
        EXPECT_EQ(text(_fnextfile(dir)), "");  // and it stays empty until CloseDir
        _fclosedir(dir);
    }
    EXPECT_EQ(_freaddir(N("missing")), 0);
    int32_t dir = _freaddir(N("sub"));
    _fclosedir(dir);
    _fclosedir(dir);  // closing twice does nothing
    EXPECT_EQ(errorOf([&] { _fnextfile(dir); }), "Directory does not exist");
    EXPECT_EQ(errorOf([] { _fnextfile(0); }), "Directory does not exist");
}

TEST_F(FolderCommands, TypesAndSizes) {
    std::filesystem::create_directory(root_ / "folder");
    writeBytes(root_ / "five.bin", "12345");
    writeBytes(root_ / "Case.dat", "1");
    writeBytes(root_ / "case.DAT", "22");
    writeBytes(root_ / "zz.bin", "123456789");
    std::filesystem::create_symlink(root_ / "nowhere", root_ / "broken");
    std::filesystem::create_symlink(root_ / "five.bin", root_ / "link");
    const std::tuple<const char*, int32_t, int32_t> cases[] = {
        {"folder", 2, 0},  {"FOLDER", 2, 0},   {"missing", 0, 0}, {"five.bin", 1, 5}, {"FIVE.BIN", 1, 5},
        {"Case.dat", 1, 1}, {"case.DAT", 1, 2}, {"broken", 1, 0},  {"link", 1, 5},     {"*.bin", 0, 5},
        {"z?.BIN", 0, 9},   {"*.none", 0, 0},
    };
    for (auto [file, type, size] : cases) {
        if (std::string_view(file).find_first_of("*?") == std::string_view::npos)
            EXPECT_EQ(_ffiletype(N(file)), type) << file;
        EXPECT_EQ(_ffilesize(N(file)), size) << file;
    }
}

TEST_F(FolderCommands, CopyAndDelete) {
    writeBytes(root_ / "source.txt", "content");
    writeBytes(root_ / "target.txt", "older and longer");
    _fcopyfile(N("SOURCE.TXT"), N("target.txt"));
    EXPECT_EQ(fileBytes(root_ / "target.txt"), "content");
    _fcopyfile(N("source.txt"), N("Fresh.txt"));
    EXPECT_EQ(fileBytes(root_ / "Fresh.txt"), "content");
    // Onto itself, also through another spelling: the file is kept.
    _fcopyfile(N("source.txt"), N("source.txt"));
    _fcopyfile(N("source.txt"), N("Source.TXT"));
    EXPECT_EQ(fileBytes(root_ / "source.txt"), "content");
    _fcopyfile(N("missing"), N("out.txt"));
    EXPECT_FALSE(std::filesystem::exists(root_ / "out.txt"));

    _fdeletefile(N("FRESH.txt"));
    EXPECT_FALSE(std::filesystem::exists(root_ / "Fresh.txt"));
    _fcreatedir(N("made"));
    EXPECT_EQ(_ffiletype(N("made")), 2);
    _fdeletefile(N("made"));  // not a file: kept
    writeBytes(root_ / "made" / "inside", "x");
    _fdeletedir(N("made"));  // not empty: kept
    EXPECT_EQ(_ffiletype(N("made")), 2);
    _fdeletefile(N("made\\INSIDE"));
    _fdeletedir(N("MADE"));
    EXPECT_EQ(_ffiletype(N("made")), 0);
}

TEST_F(FolderCommands, CurrentFolderUsesBackslashesAndEndsWithOne) {
    std::string before = std::filesystem::current_path();
    _fchangedir(N(""));
    EXPECT_EQ(text(_fcurrentdir()), name(""));
    writeBytes(root_ / "here.txt", "x");
    EXPECT_EQ(_ffiletype(S("HERE.txt")), 1);  // relative names resolve against it
    _fchangedir(S("c:"));
    EXPECT_EQ(text(_fcurrentdir()), "C:\\");
    _fchangedir(N("missing"));  // silent
    EXPECT_EQ(text(_fcurrentdir()), "C:\\");
    ASSERT_EQ(chdir(before.c_str()), 0);
}

}  // namespace
}  // namespace tarsk::test
