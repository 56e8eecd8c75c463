#include "runtime/language/strings.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/host/arena.h"

namespace tarsk {
namespace {

uint32_t word(tbString* string) { return uint32_t(reinterpret_cast<uintptr_t>(string)); }

TEST(StringCompare, OrdersUnsignedBytesThenLength) {
    const std::tuple<std::string, std::string, int> cases[] = {
        {"abc", "abd", -1}, {"ab", "abc", -1}, {"b", "abc", 1}, {"", "", 0},
        {"\xE9", "z", 1},   {"z", "\xE9", -1}, {std::string("a\0b", 3), std::string("a\0a", 3), 1},
    };
    int32_t before = liveStringCount();
    for (auto& [a, b, order] : cases) EXPECT_EQ(__tbStrCompare(stringNew(a), stringNew(b)), order) << a << " " << b;
    EXPECT_EQ(liveStringCount(), before);
}

TEST(StringEntryPoints, KeepOwnershipLinear) {
    int32_t before = liveStringCount();
    tbString* joined = __tbStrConcat(__tbStrConst(""), __tbStrConst("x"));
    EXPECT_EQ(stringText(joined), "x");
    EXPECT_EQ(liveStringCount(), before + 1);

    tbString* variable = nullptr;
    tbString* empty = __tbStrLoad(&variable);  // an unassigned variable loads as ""
    EXPECT_EQ(stringText(empty), "");
    __tbStrStore(&variable, joined);
    tbString* copy = __tbStrLoad(&variable);
    EXPECT_NE(copy, joined);
    copy->text += "y";  // copies are independent values
    EXPECT_EQ(stringText(joined), "x");
    __tbStrStore(&variable, __tbStrFromInt(-7));  // releases the old value
    EXPECT_EQ(stringText(variable), "-7");
    EXPECT_EQ(liveStringCount(), before + 3);
    __tbStrRelease(nullptr);
    __tbStrRelease(empty);
    __tbStrRelease(copy);
    __tbStrStore(&variable, nullptr);
    EXPECT_EQ(liveStringCount(), before);

    EXPECT_EQ(__tbStrToInt(__tbStrConst("  -12abc")), -12);
    EXPECT_EQ(__tbStrToFloat(__tbStrConst("1e3")), 1000.0f);
    tbString* text = __tbStrFromFloat(1e9f);
    EXPECT_EQ(stringText(text), "1.e+009");
    __tbStrRelease(text);
    EXPECT_EQ(liveStringCount(), before);
}

TEST(StringPool, ReusesReleasedRecordsWithoutNewBlock) {
    std::vector<tbString*> strings;
    for (int i = 0; i < 600; ++i) strings.push_back(stringNew("s"));
    size_t arenaBefore = arenaBytesInUse();
    for (tbString* string : strings) stringRelease(string);
    strings.clear();
    for (int i = 0; i < 600; ++i) strings.push_back(stringNew("t"));
    EXPECT_EQ(arenaBytesInUse(), arenaBefore);
    for (tbString* string : strings) stringRelease(string);
}

TEST(StringPool, HandsOutReleasedRecordsInReleaseOrder) {
    tbString* first = stringNew("a");
    tbString* second = stringNew("b");
    uint32_t firstWord = word(first), secondWord = word(second);
    stringRelease(second);
    stringRelease(first);
    std::vector<tbString*> taken;
    int firstAt = -1, secondAt = -1;
    while (firstAt < 0 && taken.size() < 4096) {
        taken.push_back(stringNew());
        if (word(taken.back()) == secondWord) secondAt = int(taken.size());
        if (word(taken.back()) == firstWord) firstAt = int(taken.size());
    }
    EXPECT_GT(secondAt, 0);
    EXPECT_EQ(firstAt, secondAt + 1);
    for (tbString* string : taken) stringRelease(string);
}

}  // namespace
}  // namespace tarsk
