// File streams and the stream commands over them: byte formats, lines, the avail and
// end-of-file rules, the open modes, CopyStream and the handle checks.
#include <vector>

#include "io_fixture.h"
#include "runtime/host/arena.h"
#include "runtime/io/stream.h"

namespace tarsk::test {
namespace {

using FileStreams = ScratchFolder;

TEST_F(FileStreams, TypedValuesHaveTheirLittleEndianBytesAndReadBack) {
    int32_t out = _fwritefile(N("values.bin"));
    ASSERT_NE(out, 0);
    _fwritebyte(out, 300);
    _fwriteshort(out, -1);
    _fwriteint(out, -2);
    _fwritefloat(out, 1.5f);
    _fwritestring(out, S("abc"));
    _fwriteline(out, S("hi"));
    _fclosefile(out);
    EXPECT_EQ(fileBytes(root_ / "values.bin"), std::string("\x2C\xFF\xFF\xFE\xFF\xFF\xFF\x00\x00\xC0\x3F"
                                                           "\x03\x00\x00\x00" "abc" "hi\r\n", 22));

    int32_t in = _freadfile(N("values.bin"));
    EXPECT_EQ(_freadbyte(in), 44);
    EXPECT_EQ(_freadshort(in), 65535);
    EXPECT_EQ(_freadint(in), -2);
    EXPECT_EQ(_freadfloat(in), 1.5f);
    EXPECT_EQ(text(_freadstring(in)), "abc");
    EXPECT_EQ(text(_freadline(in)), "hi");
    EXPECT_EQ(_feof(in), 1);
    // Past the end every read gives its zero value.
    EXPECT_EQ(_freadbyte(in), 0);
    EXPECT_EQ(_freadint(in), 0);
    EXPECT_EQ(_freadfloat(in), 0.0f);
    EXPECT_EQ(text(_freadline(in)), "");
    EXPECT_EQ(text(_freadstring(in)), "");
    _fclosefile(in);
}

TEST_F(FileStreams, LinesEndAtLineFeedAndDropEveryCarriageReturn) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"a\rb\nc", {"ab", "c"}},
        {"\r\n\r\nx", {"", "", "x"}},
        {"lone\rcr\r", {"lonecr"}},
        {"", {""}},
    };
    for (const auto& [bytes, lines] : cases) {
        writeBytes(root_ / "lines.txt", bytes);
        int32_t in = _freadfile(N("lines.txt"));
        for (const std::string& line : lines) EXPECT_EQ(text(_freadline(in)), line) << bytes;
        EXPECT_EQ(_feof(in), 1) << bytes;
        _fclosefile(in);
    }
}

TEST_F(FileStreams, ReadStringWithHostileLengthsNeverOverreads) {
    const std::pair<std::string, std::string> cases[] = {
        {std::string("\xFB\xFF\xFF\xFFxyz", 7), ""},     // negative length
        {std::string("\xFF\xFF\xFF\x7Fxyz", 7), "xyz"},  // huge length: what arrived
        {std::string("\x05\x00\x00\x00", 4), ""},        // nothing after the length
        {std::string("\x02\x00", 2), ""},                // short length field: its bytes are the value
    };
    for (const auto& [bytes, result] : cases) {
        writeBytes(root_ / "s.bin", bytes);
        int32_t in = _freadfile(N("s.bin"));
        EXPECT_EQ(text(_freadstring(in)), result);
        _fclosefile(in);
    }
}

TEST_F(FileStreams, AvailCountsOnlyBufferedBytesAndEofFetchesMore) {
    writeBytes(root_ / "ten.bin", "0123456789");
    int32_t in = _freadfile(N("ten.bin"));
    EXPECT_EQ(_freadavail(in), 0);
    EXPECT_EQ(_freadbyte(in), '0');
    EXPECT_EQ(_freadavail(in), 9);
    EXPECT_EQ(_feof(in), 0);
    char rest[9];
    EXPECT_EQ(liveStream(in)->read(rest, 9), 9);
    EXPECT_EQ(_freadavail(in), 0);
    EXPECT_EQ(_feof(in), 1);
    _fclosefile(in);

    writeBytes(root_ / "empty.bin", "");
    int32_t empty = _freadfile(N("empty.bin"));
    EXPECT_EQ(_feof(empty), 1);
    _fclosefile(empty);

    int32_t out = _fwritefile(N("new.bin"));
    EXPECT_EQ(_feof(out), 1);  // a file opened only for writing is at its end
    EXPECT_EQ(_freadint(out), 0);
    _fclosefile(out);
}

TEST_F(FileStreams, OpenModes) {
    EXPECT_EQ(_fopenfile(N("missing.bin")), 0);
    EXPECT_EQ(_freadfile(N("missing.bin")), 0);
    EXPECT_FALSE(std::filesystem::exists(root_ / "missing.bin"));
    EXPECT_EQ(_freadfile(S(name(""))), 0);  // a folder is not a file
    int32_t created = _fwritefile(N("missing.bin"));
    ASSERT_NE(created, 0);
    _fclosefile(created);
    EXPECT_TRUE(std::filesystem::exists(root_ / "missing.bin"));

    // Read and write: a write after a read lands at the stream's position.
    writeBytes(root_ / "rw.bin", "abcdef");
    int32_t both = _fopenfile(N("RW.BIN"));
    ASSERT_NE(both, 0);
    EXPECT_EQ(_freadshort(both), 'a' | 'b' << 8);
    EXPECT_EQ(_ffilepos(both), 2);
    _fwritebyte(both, 'X');
    EXPECT_EQ(_ffilepos(both), 3);
    EXPECT_EQ(_freadbyte(both), 'd');
    EXPECT_EQ(_fseekfile(both, 5), 5);
    EXPECT_EQ(_freadbyte(both), 'f');
    EXPECT_EQ(_fseekfile(both, -1), -1);
    EXPECT_EQ(_fseekfile(both, 0), 0);
    _fwriteint(both, 0x34333231);
    _fclosefile(both);
    EXPECT_EQ(fileBytes(root_ / "rw.bin"), "1234ef");
}

TEST_F(FileStreams, WritingReplacesTheFileOnlyWhenClosed) {
    writeBytes(root_ / "save.dat", "old");
    int32_t out = _fwritefile(N("save.dat"));
    _fwriteline(out, S("new"));
    EXPECT_EQ(fileBytes(root_ / "save.dat"), "old");
    _fclosefile(out);
    EXPECT_EQ(fileBytes(root_ / "save.dat"), "new\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root_), {}), 1) << "temporary file left";

    // The module's destroy step closes files still open, so they are complete.
    int32_t pending = _fwritefile(N("pending.dat"));
    _fwriteint(pending, 7);
    filesystem_destroy();
    ASSERT_TRUE(filesystem_create());
    EXPECT_EQ(fileBytes(root_ / "pending.dat"), std::string("\x07\x00\x00\x00", 4));
}

// Records the sizes of its writes.
class RecordingStream final : public Stream {
public:
    void destroy() override { arenaDelete(this); }
    int32_t read(void*, int32_t) override { return 0; }
    int32_t write(const void* data, int32_t size) override {
        sizes.push_back(size);
        bytes.append(static_cast<const char*>(data), size_t(size));
        return size;
    }
    int32_t avail() override { return 0; }
    int32_t eof() override { return 0; }
    std::vector<int32_t> sizes;
    std::string bytes;
};

TEST_F(FileStreams, CopyStreamCopiesInRoundsOfItsBuffer) {
    std::string data(40000, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = char(i * 7);
    writeBytes(root_ / "big.bin", data);
    int32_t in = _freadfile(N("big.bin"));
    auto* dest = arenaNew<RecordingStream>();
    _fcopystream(in, handleOf(dest), 16384);
    EXPECT_EQ(dest->sizes, (std::vector<int32_t>{16384, 16384, 7232}));
    EXPECT_EQ(dest->bytes, data);
    EXPECT_EQ(errorOf([&] { _fcopystream(in, handleOf(dest), 0); }), "Illegal buffer size");
    EXPECT_EQ(errorOf([&] { _fcopystream(in, handleOf(dest), 1048577); }), "Illegal buffer size");
    dest->destroy();
    _fclosefile(in);
}

TEST_F(FileStreams, HandlesThatAreNotLiveAreRefused) {
    int32_t file = _fwritefile(N("x.bin"));
    _fclosefile(file);
    int32_t bogus = handleOf(&bogus);
    for (int32_t handle : {0, file, bogus}) {
        EXPECT_EQ(errorOf([&] { _freadbyte(handle); }), "Stream does not exist");
        EXPECT_EQ(errorOf([&] { _fwritestring(handle, S("released")); }), "Stream does not exist");
        EXPECT_EQ(errorOf([&] { _fclosefile(handle); }), "File does not exist");
        EXPECT_EQ(errorOf([&] { _fseekfile(handle, 0); }), "File does not exist");
    }
}

}  // namespace
}  // namespace tarsk::test
