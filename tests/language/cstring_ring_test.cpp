#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/language/strings.h"
#include "tarsk_abi.h"

namespace tarsk {
namespace {

TEST(CStringRing, ReusesItsBuffersAfter256Conversions) {
    int32_t before = liveStringCount();
    const char* first = __tbStrToCStr(stringNew(std::string(100, 'x')));
    EXPECT_EQ(std::string(first), std::string(100, 'x'));
    std::vector<const char*> ring{first};
    for (int i = 1; i < 256; ++i) ring.push_back(__tbStrToCStr(stringNew(std::to_string(i))));
    EXPECT_STREQ(ring[255], "255");
    // The 257th conversion lands in the first buffer, which is large enough to keep.
    const char* again = __tbStrToCStr(stringNew("ten bytes!"));
    EXPECT_EQ(again, first);
    EXPECT_STREQ(first, "ten bytes!");
    // A longer text than the buffer holds gets a new buffer.
    for (int i = 1; i < 256; ++i) __tbStrToCStr(stringNew(""));
    const char* longer = __tbStrToCStr(stringNew(std::string(300, 'y')));
    EXPECT_EQ(std::string(longer), std::string(300, 'y'));
    EXPECT_EQ(liveStringCount(), before);
}

TEST(CStringRing, CutsAtNulAndConvertsBack) {
    EXPECT_STREQ(__tbStrToCStr(stringNew(std::string_view("ab\0cd", 5))), "ab");
    tbString* back = __tbCStrToStr("from C");
    EXPECT_EQ(stringTake(back), "from C");
}

}  // namespace
}  // namespace tarsk
