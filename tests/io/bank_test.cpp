// Banks: the record layout, the capacity rule, typed access at any offset, the
// always-on range checks, streams and CallDLL.
#include <cstring>
#include <functional>

#include "io_fixture.h"
#include "runtime/host/arena.h"
#include "runtime/host/runtime_interface.h"
#include "runtime/io/bank.h"

namespace tarsk::test {
namespace {

const Bank& record(int32_t handle) { return *fromHandle<Bank>(handle); }

class Banks : public ScratchFolder {
protected:
    void TearDown() override {
        bank_destroy();
        ScratchFolder::TearDown();
    }
};

TEST_F(Banks, CapacityGrowsByHalfAndAddedBytesAreZero) {
    int32_t empty = _fcreatebank(0);
    EXPECT_EQ(_fbanksize(empty), 0);
    _fresizebank(empty, 10);
    for (int32_t i = 0; i < 10; ++i) EXPECT_EQ(_fpeekbyte(empty, i), 0);

    int32_t bank = _fcreatebank(20);
    EXPECT_EQ(record(bank).capacity, 32u);
    EXPECT_EQ(record(bank).size, 20u);
    for (int32_t i = 0; i < 20; ++i) _fpokebyte(bank, i, 0xAA);
    uint32_t storage = record(bank).data;
    _fresizebank(bank, 10);
    _fresizebank(bank, 30);
    EXPECT_EQ(record(bank).data, storage);
    for (int32_t i = 10; i < 30; ++i) EXPECT_EQ(_fpeekbyte(bank, i), 0) << i;
    EXPECT_EQ(_fpeekbyte(bank, 9), 0xAA);
    _fresizebank(bank, 40);
    EXPECT_EQ(record(bank).capacity, 48u);
    EXPECT_EQ(record(bank).size, 40u);
    EXPECT_EQ(_fpeekbyte(bank, 0), 0xAA);
    _fresizebank(bank, 100);  // half again is too small: the size itself, rounded up
    EXPECT_EQ(record(bank).capacity, 112u);
    EXPECT_EQ(errorOf([&] { _fresizebank(bank, -1); }), "Illegal bank size");
    EXPECT_EQ(errorOf([] { _fcreatebank(-1); }), "Illegal bank size");
}

TEST_F(Banks, ValuesAreLittleEndianAtAnyOffset) {
    int32_t bank = _fcreatebank(16);
    _fpokeshort(bank, 1, 70000);
    EXPECT_EQ(_fpeekshort(bank, 1), 4464);
    _fpokeint(bank, 3, -1);
    for (int32_t i = 3; i < 7; ++i) EXPECT_EQ(_fpeekbyte(bank, i), 255);
    _fpokefloat(bank, 7, 1.0f);
    EXPECT_EQ(_fpeekint(bank, 7), 1065353216);
    EXPECT_EQ(_fpeekfloat(bank, 7), 1.0f);
    _fpokebyte(bank, 15, 0x1FF);
    EXPECT_EQ(_fpeekbyte(bank, 15), 255);
    _fpokeint(bank, 11, 0x04030201);
    const uint8_t* bytes = record(bank).bytes();
    EXPECT_EQ(std::memcmp(bytes + 11, "\x01\x02\x03\x04", 4), 0);
}

TEST_F(Banks, OverlappingCopiesDoNotSmear) {
    int32_t bank = _fcreatebank(8);
    _fpokeint(bank, 0, 0x04030201);
    _fcopybank(bank, 0, bank, 1, 4);
    EXPECT_EQ(std::memcmp(record(bank).bytes(), "\x01\x01\x02\x03\x04", 5), 0);
    _fcopybank(bank, 1, bank, 0, 4);
    EXPECT_EQ(_fpeekint(bank, 0), 0x04030201);
    int32_t other = _fcreatebank(4);
    _fcopybank(bank, 0, other, 0, 4);
    EXPECT_EQ(_fpeekint(other, 0), 0x04030201);
}

TEST_F(Banks, OffsetsCountsAndHandlesAreCheckedAlways) {
    ASSERT_FALSE(debugChecks);
    int32_t bank = _fcreatebank(10);
    int32_t small = _fcreatebank(4);
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[&] { _fpeekint(bank, 6); }, "(none)"},
        {[&] { _fpeekint(bank, 7); }, "Offset out of range"},
        {[&] { _fpeekbyte(bank, 10); }, "Offset out of range"},
        {[&] { _fpeekbyte(bank, -1); }, "Offset out of range"},
        {[&] { _fpokeshort(bank, 9, 0); }, "Offset out of range"},
        {[&] { _fpokefloat(bank, 0x7FFFFFFF, 0); }, "Offset out of range"},
        {[&] { _fcopybank(bank, 0, small, 0, 5); }, "Offset out of range"},
        {[&] { _fcopybank(bank, 8, small, 0, 4); }, "Offset out of range"},
        {[&] { _fcopybank(bank, 0, small, 0, -1); }, "Offset out of range"},
        {[&] { _fcopybank(bank, 6, small, 0, 4); }, "(none)"},
        {[&] { _fpeekbyte(0, 0); }, "tbBank does not exist"},
        {[&] { _fbanksize(bank + 1); }, "tbBank does not exist"},
        {[&] { _fcopybank(bank, 0, 12345, 0, 1); }, "tbBank does not exist"},
        {[&] { _freadbytes(bank, 12345, 0, 4); }, "Stream does not exist"},
        {[&] { _freadbytes(bank, 12345, 8, 4); }, "Offset out of range"},
        {[&] { _fcalldll(S("x.dll"), S("f"), 12345, 0); }, "tbBank does not exist"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(errorOf(cases[i].first), cases[i].second) << i;
    _ffreebank(bank);
    _ffreebank(bank);  // freeing twice does nothing
    EXPECT_EQ(errorOf([&] { _fbanksize(bank); }), "tbBank does not exist");
}

TEST_F(Banks, BytesMoveBetweenBanksAndStreams) {
    int32_t bank = _fcreatebank(8);
    _fpokeint(bank, 0, 0x64636261);
    _fpokeint(bank, 4, 0x68676665);
    int32_t out = _fwritefile(N("bytes.bin"));
    EXPECT_EQ(_fwritebytes(bank, out, 2, 5), 5);
    _fclosefile(out);
    EXPECT_EQ(fileBytes(root_ / "bytes.bin"), "cdefg");
    int32_t in = _freadfile(N("bytes.bin"));
    EXPECT_EQ(_freadbytes(bank, in, 0, 8), 5);  // only what the file holds
    EXPECT_EQ(std::memcmp(record(bank).bytes(), "cdefgfgh", 8), 0);
    _fclosefile(in);
}

TEST_F(Banks, CallDllHandsBanksToALibrary) {
    static std::string failure;
    const char* result = runProgramWith(
        [] {
            int32_t target = _fcreatebank(12);
            _fpokeint(target, 0, 41);
            int32_t in = _fcreatebank(4);
            _fpokeint(in, 0, target);
            int32_t out = _fcreatebank(4);
            int32_t called = _fcalldll(S("bank_library.dll"), S("TouchBank"), in, out);
            if (called != 77) failure += "result " + std::to_string(called) + ";";
            if (_fpeekint(target, 0) != 42) failure += "target not written;";
            if (_fpeekint(out, 0) != 12) failure += "size not read;";
            if (_fcalldll(S("bank_library.dll"), S("NoSuchFunction"), in, out) != 0) failure += "missing function;";
            if (_fcalldll(S("no_such_library.dll"), S("TouchBank"), in, out) != 0) failure += "missing library;";
            if (_fcalldll(S("bank_library.dll"), S("TouchBank"), 0, 0) != -1) failure += "null banks;";
        },
        "", nullptr, nullptr, {commandModules()[0]});
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(failure, "");
}

}  // namespace
}  // namespace tarsk::test
