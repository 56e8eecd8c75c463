#include <gtest/gtest.h>

#include "runtime/host/command_line.h"

TEST(CommandLine, ArgumentTextAfterTheProgramName) {
    const std::pair<const char*, const char*> cases[] = {
        {"program", ""},
        {"program   two words ", "  two words "},  // untrimmed here; runProgram trims
        {"  program x", "x"},
        {"\"C:\\My Programs\\player.exe\" song.mp3", " song.mp3"},
        {"\"unterminated name", ""},
        {"", ""},
    };
    for (auto [line, expected] : cases) EXPECT_EQ(tarsk::argumentText(line), expected) << line;
}

TEST(CommandLine, ProcessCommandLineQuotesAProgramNameWithBlanks) {
    char name[] = "/opt/my player/run", a[] = "one", b[] = "two";
    char* argv[] = {name, a, b};
    std::string line = tarsk::processCommandLine(3, argv);
    EXPECT_EQ(line, "\"/opt/my player/run\" one two");
    EXPECT_EQ(tarsk::argumentText(line), " one two");
}
