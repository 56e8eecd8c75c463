#include "compiler/codegen/native_build.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "compiler/image/elf_to_image.h"
#include "runtime/host/module_image.h"

extern char** environ;

namespace tarsk::compiler {
namespace fs = std::filesystem;

namespace {

uint64_t fnv1a(const std::string& text, uint64_t hash = 0xcbf29ce484222325ull) {
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001b3ull;
    }
    return hash;
}

std::string hexKey(const std::string& text) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%016llx%016llx", static_cast<unsigned long long>(fnv1a(text)),
                  static_cast<unsigned long long>(fnv1a(text, 0x84222325cbf29ce4ull)));
    return buffer;
}

bool readText(const fs::path& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream contents;
    contents << in.rdbuf();
    text = contents.str();
    return !in.bad();
}

bool writeText(const fs::path& path, const std::string& text) {
    fs::path temporary = path;
    temporary += ".tmp" + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::binary);
        if (!out.write(text.data(), std::streamsize(text.size()))) return false;
    }
    std::error_code error;
    fs::rename(temporary, path, error);
    return !error;
}

// A started program whose standard error goes to a file.
struct Child {
    pid_t pid = -1;
    size_t unit = 0;
};

pid_t spawn(const std::vector<std::string>& argv, const fs::path& errors) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    int failed = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

bool waitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The first diagnostic of the C compiler, placed by the line directives at Basic source.
std::string internalError(const std::string& unit, const std::string& diagnostics) {
    std::istringstream lines(diagnostics);
    std::string line, first;
    while (std::getline(lines, line)) {
        if (first.empty() && !line.empty()) first = line;
        size_t error = line.find(": error: ");
        if (error == std::string::npos) continue;
        std::string where = line.substr(0, error);
        size_t column = where.rfind(':');
        size_t lineNumber = column == std::string::npos ? std::string::npos : where.rfind(':', column - 1);
        if (lineNumber != std::string::npos) where = where.substr(0, column);
        return "internal compiler error at " + where + ": " + line.substr(error + 9) +
               " (please report this compiler bug)";
    }
    return "internal compiler error in unit " + unit + ": " + (first.empty() ? "the C compiler failed" : first) +
           " (please report this compiler bug)";
}

std::string tool(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    return value && *value ? value : fallback;
}

}  // namespace

std::string defaultCacheFolder() {
    if (const char* cache = std::getenv("TARSK_CACHE"); cache && *cache) return cache;
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg) return (fs::path(xdg) / "tarsk").string();
    if (const char* home = std::getenv("HOME"); home && *home) return (fs::path(home) / ".cache" / "tarsk").string();
    return (fs::temp_directory_path() / ("tarsk-cache-" + std::to_string(getuid()))).string();
}

const std::vector<std::string>& cCompilerFlags() {
    static const std::vector<std::string> flags = {
        "-std=gnu11", "-O2", "-fno-pic", "-mcmodel=small", "-ffreestanding", "-fasynchronous-unwind-tables",
        "-fvect-cost-model=cheap", "-fno-stack-protector", "-fcf-protection=none", "-fno-jump-tables", "-fwrapv",
        "-fno-tree-loop-distribute-patterns", "-fno-ident", "-w"};
    return flags;
}

NativeBuildResult buildImage(const std::vector<CUnit>& units, const NativeBuildOptions& options) {
    NativeBuildResult result;
    fs::path cache = options.cacheFolder.empty() ? defaultCacheFolder() : options.cacheFolder;
    std::error_code error;
    fs::create_directories(cache / "objects", error);
    fs::path work = cache / ("build-" + std::to_string(getpid()));
    fs::create_directories(work, error);
    if (error) {
        result.error = "cannot create the cache folder " + cache.string() + ": " + error.message();
        return result;
    }
    std::string compiler = tool("TARSK_CC", "cc");
    std::string flagText;
    for (const std::string& f : cCompilerFlags()) flagText += f + " ";

    // Units whose exact text was compiled before are taken from the cache.
    std::vector<fs::path> objects;
    std::vector<size_t> pending;
    for (size_t i = 0; i < units.size(); ++i) {
        fs::path base = cache / "objects" / hexKey(compiler + "\n" + flagText + "\n" + units[i].text);
        objects.push_back(base.string() + ".o");
        std::string cached;
        if (fs::exists(objects.back()) && readText(base.string() + ".c", cached) && cached == units[i].text)
            ++result.reused;
        else
            pending.push_back(i);
    }

    int jobs = options.jobs > 0 ? options.jobs : int(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<Child> running;
    std::string failure;
    auto finish = [&](const Child& child) {
        fs::path errors = work / (std::to_string(child.unit) + ".err");
        fs::path object = work / (std::to_string(child.unit) + ".o");
        if (!waitFor(child.pid)) {
            std::string diagnostics;
            readText(errors, diagnostics);
            if (failure.empty()) failure = internalError(units[child.unit].name, diagnostics);
            return;
        }
        std::error_code renameError;
        fs::rename(object, objects[child.unit], renameError);
        fs::path source = objects[child.unit];
        source.replace_extension(".c");
        writeText(source, units[child.unit].text);
        ++result.compiled;
    };
    for (size_t unit : pending) {
        fs::path source = work / (std::to_string(unit) + ".c");
        if (!writeText(source, units[unit].text)) {
            failure = "cannot write " + source.string();
            break;
        }
        if (int(running.size()) >= jobs) {
            finish(running.front());
            running.erase(running.begin());
        }
        std::vector<std::string> argv = {compiler};
        argv.insert(argv.end(), cCompilerFlags().begin(), cCompilerFlags().end());
        argv.insert(argv.end(), {"-c", source.string(), "-o", (work / (std::to_string(unit) + ".o")).string()});
        pid_t pid = spawn(argv, work / (std::to_string(unit) + ".err"));
        if (pid < 0) {
            failure = "cannot start the C compiler '" + compiler + "'";
            break;
        }
        running.push_back({pid, unit});
    }
    for (const Child& child : running) finish(child);

    fs::path linked = work / "program.o";
    if (failure.empty()) {
        std::vector<std::string> argv = {tool("TARSK_LD", "ld"), "-r", "-o", linked.string()};
        for (const fs::path& o : objects) argv.push_back(o.string());
        pid_t pid = spawn(argv, work / "link.err");
        if (pid < 0 || !waitFor(pid)) {
            std::string diagnostics;
            readText(work / "link.err", diagnostics);
            failure = "internal compiler error: combining the objects failed: " + diagnostics;
        }
    }
    if (failure.empty()) {
        std::string object;
        ModuleImage image;
        std::string imageError;
        if (!readText(linked, object)) {
            failure = "cannot read " + linked.string();
        } else if (!elfToImage(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(object.data()), object.size()), image, imageError)) {
            failure = "internal compiler error: " + imageError + " (please report this compiler bug)";
        } else {
            result.image = serializeImage(image);
            result.ok = true;
        }
    }
    fs::remove_all(work, error);
    result.error = failure;
    return result;
}

}  // namespace tarsk::compiler
