// Shared helpers of the data I/O tests: a scratch folder, file bytes, string
// arguments and the runtime error a call raises.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "runtime/host/registry.h"
#include "tarsk_commands.h"
#include "tests/support/command_calls.h"

namespace tarsk {
void filesystem_link(Registrar);
bool filesystem_create();
void filesystem_destroy();
void sockets_destroy();
void bank_destroy();
}  // namespace tarsk

namespace tarsk::test {

inline std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

// A fresh folder, with the file-system module running, removed afterwards.
class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarsk-io-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        ASSERT_TRUE(filesystem_create());
    }
    void TearDown() override {
        filesystem_destroy();
        std::filesystem::remove_all(root_);
    }
    // The program name of a file in the scratch folder, with "\" separators.
    std::string name(const std::string& relative) const {
        std::string full = (root_ / relative).string();
        for (char& c : full)
            if (c == '/') c = '\\';
        return "C:" + full;
    }
    tbString* N(const std::string& relative) const { return S(name(relative)); }
    std::filesystem::path root_;
};

}  // namespace tarsk::test
