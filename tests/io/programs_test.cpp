// Compiled programs using the data I/O commands, run by `tarsk run`.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/process.h"

namespace {

TEST(IoPrograms, FilesAndBanksFromCompiledCodeAndTheirEnd) {
    namespace fs = std::filesystem;
    fs::path folder = fs::temp_directory_path() / ("tarsk-io-program-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    auto r = tarsk::test::runProcess({tarsk::test::binaryFolder() + "tarsk", "run", "--debug",
                                      std::string(TARSK_TEST_IMAGES) + "/files_and_banks.tbm", folder.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "string=record\n"
              "int=1234\n"
              "eof=1\n"
              "bytes=6\n"
              "length=6\n"
              "size=14\n"
              "type=2\n");
    std::ifstream unclosed(folder / "unclosed.dat", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(unclosed), {}), "kept\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 2);  // no temporary files left
    fs::remove_all(folder);
}

}  // namespace
