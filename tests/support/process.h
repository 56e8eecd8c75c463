// Running a program of the build and collecting what it printed.
#pragma once

#include <string>
#include <vector>

namespace tarsk::test {

struct ProcessResult {
    int status = -1;  // exit status, or 128 + signal
    std::string out;
    std::string err;
};

// A program started in the background, its output collected into temporary files.
class RunningProcess {
public:
    // Starts argv[0] with the arguments; `environment` entries ("NAME=value", or "NAME="
    // to remove) change the inherited environment.
    explicit RunningProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment = {});
    ~RunningProcess();
    RunningProcess(const RunningProcess&) = delete;
    RunningProcess& operator=(const RunningProcess&) = delete;

    // 0 when the program could not be started.
    int pid() const { return pid_; }
    // What the program has written to standard output so far.
    std::string outputSoFar() const;
    // Polls the output until it ends with `text`; false after timeoutMillis.
    bool awaitOutputEnding(const std::string& text, int timeoutMillis);
    // Waits for the end; a program still running after timeoutMillis (negative: no limit)
    // is killed, which shows in the status as 128 + SIGKILL.
    ProcessResult finish(int timeoutMillis = -1);

private:
    int pid_ = 0;
    bool finished_ = false;
    std::string outPath_, errPath_;
};

// Runs a program to its end (see RunningProcess).
ProcessResult runProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment = {});

// The build's program folder (with a trailing "/").
std::string binaryFolder();

}  // namespace tarsk::test
