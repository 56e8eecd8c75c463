// The string commands, called directly.
#include <gtest/gtest.h>

#include <cctype>

#include "runtime/language/strings.h"
#include "tarsk_commands.h"
#include "tests/support/command_calls.h"

namespace tarsk {
namespace {

using test::errorOf;
using test::S;
using test::text;

// True when text has the shape of pattern: '9' a digit, 'a' a letter, anything else itself.
bool hasShape(const std::string& text, const std::string& pattern) {
    if (text.size() != pattern.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        bool fits = pattern[i] == '9' ? std::isdigit(c) : pattern[i] == 'a' ? std::isalpha(c) : c == pattern[i];
        if (!fits) return false;
    }
    return true;
}

class StringCommands : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(liveStringCount(), before_) << "string objects leaked or over-released"; }
    int32_t before_ = liveStringCount();
};

TEST_F(StringCommands, CutAndPad) {
    EXPECT_EQ(text(_fleft(S("hello"), 2)), "he");
    EXPECT_EQ(text(_fleft(S("hi"), 9)), "hi");
    EXPECT_EQ(text(_fright(S("hello"), 3)), "llo");
    EXPECT_EQ(text(_fright(S("hi"), 9)), "hi");
    EXPECT_EQ(text(_flset(S("abc"), 5)), "abc  ");
    EXPECT_EQ(text(_flset(S("abcdef"), 2)), "ab");
    EXPECT_EQ(text(_frset(S("abc"), 5)), "  abc");
    EXPECT_EQ(text(_frset(S("abcdef"), 2)), "ef");
    EXPECT_EQ(text(_fstring(S("ab"), 3)), "ababab");
    EXPECT_EQ(text(_fstring(S("ab"), -2)), "");
    EXPECT_EQ(text(_fmid(S("hello"), 2, 3)), "ell");
    EXPECT_EQ(text(_fmid(S("hello"), 2, -1)), "ello");
    EXPECT_EQ(text(_fmid(S("hello"), 4, 10)), "lo");
    EXPECT_EQ(text(_fmid(S("hello"), 9, 1)), "");
    EXPECT_EQ(text(_fmid(S("hello"), 6, 1)), "");
}

TEST_F(StringCommands, Search) {
    const std::tuple<const char*, const char*, int32_t, int32_t> cases[] = {
        {"cabab", "ab", 1, 2}, {"cabab", "ab", 3, 4}, {"cabab", "ab", 5, 0}, {"cabab", "", 1, 1},
        {"cabab", "", 6, 6},   {"cabab", "", 7, 0},   {"", "", 1, 1},        {"abc", "abcd", 1, 0},
    };
    for (auto [string, find, from, position] : cases)
        EXPECT_EQ(_finstr(S(string), S(find), from), position) << string << "/" << find << "/" << from;
}

TEST_F(StringCommands, Replace) {
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"aaaa", "aa", "a", "aa"}, {"abab", "b", "bb", "abbabb"}, {"hello", "", "x", "hello"},
        {"hello", "l", "", "heo"}, {"", "a", "b", ""},            {"a.b.c", ".", "::", "a::b::c"},
    };
    for (auto [string, from, to, result] : cases) EXPECT_EQ(text(_freplace(S(string), S(from), S(to))), result);
}

TEST_F(StringCommands, CaseAndTrim) {
    EXPECT_EQ(text(_fupper(S("abz\xE9!"))), "ABZ\xE9!");
    EXPECT_EQ(text(_flower(S("ABZ\xC9!"))), "abz\xC9!");
    EXPECT_EQ(text(_ftrim(S(" \t\r\n \t"))), "");
    EXPECT_EQ(text(_ftrim(S(std::string_view("\x7F \0x y\x01\x7F", 8)))), "x y");
    // Bytes 128 to 255 are letters of the 8-bit code page and stay.
    EXPECT_EQ(text(_ftrim(S("\xA0\xE9t\xE9 "))), "\xA0\xE9t\xE9");
}

TEST_F(StringCommands, CharactersAndNumbers) {
    EXPECT_EQ(text(_fchr(0)), std::string(1, '\0'));
    EXPECT_EQ(text(_fchr(321)), "A");
    EXPECT_EQ(_fasc(S("")), -1);
    EXPECT_EQ(_fasc(S("\xE9")), 233);
    EXPECT_EQ(_flen(S(std::string_view("a\0b", 3))), 3);
    EXPECT_EQ(text(_fhex(-1)), "FFFFFFFF");
    EXPECT_EQ(text(_fhex(255)), "000000FF");
    EXPECT_EQ(text(_fhex(0x1234ABCD)), "1234ABCD");
    EXPECT_EQ(text(_fbin(5)), std::string(29, '0') + "101");
    EXPECT_EQ(text(_fbin(INT32_MIN)), "1" + std::string(31, '0'));
}

TEST_F(StringCommands, DateAndTimeTexts) {
    std::string date = text(_fcurrentdate());
    EXPECT_TRUE(hasShape(date, "99 aaa 9999")) << date;
    EXPECT_NE(std::string("JanFebMarAprMayJunJulAugSepOctNovDec").find(date.substr(3, 3)), std::string::npos) << date;
    std::string time = text(_fcurrenttime());
    EXPECT_TRUE(hasShape(time, "99:99:99")) << time;
}

TEST_F(StringCommands, BadArgumentsRaiseTheirErrorsAndReleaseTheStrings) {
    const std::pair<void (*)(), const char*> cases[] = {
        {[] { _fleft(S("a"), -1); }, "parameter must be positive"},
        {[] { _fright(S("a"), -1); }, "parameter must be positive"},
        {[] { _flset(S("a"), -1); }, "parameter must be positive"},
        {[] { _frset(S("a"), -1); }, "parameter must be positive"},
        {[] { _fmid(S("a"), 0, 1); }, "parameter must be greater than 0"},
        {[] { _finstr(S("a"), S("a"), 0); }, "parameter must be greater than 0"},
        {[] { _fstring(S("ab"), 1 << 30); }, "Out of memory"},
    };
    for (auto [call, message] : cases) EXPECT_EQ(errorOf(call), message);
}

}  // namespace
}  // namespace tarsk
