#include "tests/support/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace tarsk::test {
namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string temporaryFile(const char* pattern, int& fd) {
    std::string path = pattern;
    fd = mkstemp(path.data());
    return path;
}

}  // namespace

RunningProcess::RunningProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    for (const std::string& change : environment) {
        std::string name = change.substr(0, change.find('=') + 1);
        std::erase_if(env, [&](const std::string& e) { return e.rfind(name, 0) == 0; });
        if (change.size() > name.size()) env.push_back(change);
    }
    std::vector<char*> envp, args;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    int outFd, errFd;
    outPath_ = temporaryFile("/tmp/tarsk-test-out-XXXXXX", outFd);
    errPath_ = temporaryFile("/tmp/tarsk-test-err-XXXXXX", errFd);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outFd, 1);
    posix_spawn_file_actions_adddup2(&actions, errFd, 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    pid_t child;
    if (posix_spawn(&child, args[0], &actions, nullptr, args.data(), envp.data()) == 0) pid_ = child;
    posix_spawn_file_actions_destroy(&actions);
    close(outFd);
    close(errFd);
}

RunningProcess::~RunningProcess() {
    if (!finished_) finish(0);
}

ProcessResult RunningProcess::finish(int timeoutMillis) {
    ProcessResult result;
    if (pid_ && !finished_) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMillis);
        int status = 0;
        while (waitpid(pid_, &status, timeoutMillis < 0 ? 0 : WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() >= deadline) {
                kill(pid_, SIGKILL);
                waitpid(pid_, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    finished_ = true;
    result.out = slurp(outPath_);
    result.err = slurp(errPath_);
    unlink(outPath_.c_str());
    unlink(errPath_.c_str());
    return result;
}

std::string RunningProcess::outputSoFar() const { return slurp(outPath_); }

bool RunningProcess::awaitOutputEnding(const std::string& text, int timeoutMillis) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMillis);
    while (!outputSoFar().ends_with(text)) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

ProcessResult runProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment) {
    return RunningProcess(argv, environment).finish();
}

std::string binaryFolder() { return TARSK_BINARY_FOLDER "/"; }

}  // namespace tarsk::test
