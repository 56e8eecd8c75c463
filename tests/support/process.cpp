#include "tests/support/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

extern char** environ;

namespace tarsk::test {
namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

ProcessResult runProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment) {
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

    char outPath[] = "/tmp/tarsk-test-out-XXXXXX";
    char errPath[] = "/tmp/tarsk-test-err-XXXXXX";
    int outFd = mkstemp(outPath), errFd = mkstemp(errPath);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outFd, 1);
    posix_spawn_file_actions_adddup2(&actions, errFd, 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    ProcessResult result;
    pid_t child;
    if (posix_spawn(&child, args[0], &actions, nullptr, args.data(), envp.data()) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    close(outFd);
    close(errFd);
    result.out = slurp(outPath);
    result.err = slurp(errPath);
    unlink(outPath);
    unlink(errPath);
    return result;
}

std::string binaryFolder() { return TARSK_BINARY_FOLDER "/"; }

}  // namespace tarsk::test
