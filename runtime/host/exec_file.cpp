#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "runtime/host/gx_host.h"

extern char** environ;

namespace tarsk {
namespace {

std::string trimBlanks(std::string_view text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return "";
    size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

// Blank-separated words; double quotes group a word that holds blanks.
std::vector<std::string> splitParameters(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, inWord = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (c == ' ' && !quoted) {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(std::move(word));
    return words;
}

bool isExecutableFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

bool onSearchPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string_view folders = path ? path : "/usr/bin:/bin";
    while (!folders.empty()) {
        size_t colon = folders.find(':');
        std::string folder(folders.substr(0, colon));
        if (isExecutableFile((folder.empty() ? "." : folder) + "/" + program)) return true;
        if (colon == std::string_view::npos) break;
        folders.remove_prefix(colon + 1);
    }
    return false;
}

bool exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

bool looksLikeAddress(const std::string& text) {
    return text.find("://") != std::string::npos || text.rfind("mailto:", 0) == 0;
}

bool spawn(const std::vector<std::string>& words) {
    std::vector<char*> argv;
    for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t child;
    if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    std::thread([child] { waitpid(child, nullptr, 0); }).detach();  // collect it when it ends
    return true;
}

}  // namespace

bool gxHost::execFile(std::string_view command) {
    std::string text = trimBlanks(command);
    if (text.empty()) return false;
    std::string program, rest;
    if (text[0] != '"') {
        size_t blank = text.find(' ');
        program = text.substr(0, blank);
        if (blank != std::string::npos) rest = text.substr(blank + 1);
    } else {
        size_t close = text.find('"', 1);
        program = text.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        if (close != std::string::npos) rest = text.substr(close + 1);
    }
    std::vector<std::string> parameters = splitParameters(trimBlanks(rest));

    bool isProgram = program.find('/') != std::string::npos ? isExecutableFile(program) : onSearchPath(program);
    if (isProgram) {
        std::vector<std::string> words{program};
        words.insert(words.end(), parameters.begin(), parameters.end());
        return spawn(words);
    }
    // A document, folder or address opens with the desktop's opener.
    if (exists(program) || looksLikeAddress(program)) return spawn({"xdg-open", program});
    return false;
}

}  // namespace tarsk
