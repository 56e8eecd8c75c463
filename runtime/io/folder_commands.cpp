// Folder listings, the current folder, and folders and files by name. Failures show
// only through the results.
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <memory>
#include <string>

#include "runtime/host/arena.h"
#include "runtime/host/runtime_error.h"
#include "runtime/io/file_stream.h"
#include "runtime/io/file_system_driver.h"
#include "runtime/io/filesystem_commands.h"
#include "runtime/io/path_resolution.h"
#include "runtime/language/strings.h"

using tarsk::DirectoryListing;
using tarsk::FileStream;
using tarsk::FileSystemDriver;
using tarsk::resolvePath;
using tarsk::StringArg;

namespace {

constexpr int32_t kCopyChunk = 1 << 20;

FileSystemDriver& driver() {
    FileSystemDriver* current = FileSystemDriver::current();
    if (!current) tarsk::runtimeError("Directory does not exist");
    return *current;
}

// The system name the search pattern names: the name itself, or when its last
// component holds wildcards, the first entry of its folder (byte order) that matches.
std::string firstMatch(const std::string& name) {
    std::string path = resolvePath(name);
    size_t slash = path.rfind('/');
    std::string pattern = path.substr(slash == std::string::npos ? 0 : slash + 1);
    if (pattern.find_first_of("*?") == std::string::npos) return path;
    std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    for (const std::string& entry : tarsk::folderEntries(folder.empty() ? "." : folder))
        if (entry != "." && entry != ".." && fnmatch(pattern.c_str(), entry.c_str(), FNM_CASEFOLD) == 0)
            return folder + entry;
    return {};
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat first, second;
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

void copyFile(const std::string& from, const std::string& to) {
    if (sameFile(from, to)) return;  // copying a file onto itself would empty it
    FileStream* source = FileStream::open(from, tarsk::FileMode::kRead);
    if (!source) return;
    FileStream* dest = FileStream::open(to, tarsk::FileMode::kWrite);
    if (dest) {
        auto buffer = std::make_unique<char[]>(kCopyChunk);
        while (int32_t n = source->read(buffer.get(), kCopyChunk))
            if (dest->write(buffer.get(), n) != n) break;
        dest->destroy();
    }
    source->destroy();
}

}  // namespace

extern "C" {

int32_t _freaddir(tbString* name) {
    StringArg dirname(name);
    std::string folder = tarsk::normalizedPath(dirname.view());
    if (folder.empty() || folder.back() != '/') folder += '/';
    DirectoryListing* listing = driver().openListing(resolvePath(folder));
    return tarsk::handleOf(listing);
}

tbString* _fnextfile(int32_t dir) {
    auto* listing = tarsk::fromHandle<DirectoryListing>(dir);
    if (!dir || !driver().isListing(listing)) tarsk::runtimeError("Directory does not exist");
    if (listing->next >= listing->names.size()) return tarsk::stringNew();
    return tarsk::stringNew(listing->names[listing->next++]);
}

void _fclosedir(int32_t dir) {
    if (FileSystemDriver* current = FileSystemDriver::current())
        current->closeListing(tarsk::fromHandle<DirectoryListing>(dir));
}

tbString* _fcurrentdir() {
    char buffer[PATH_MAX];
    if (!getcwd(buffer, sizeof buffer)) return tarsk::stringNew();
    std::string folder = std::string("C:") + buffer;
    for (char& c : folder)
        if (c == '/') c = '\\';
    if (folder.back() != '\\') folder += '\\';
    return tarsk::stringNew(folder);
}

void _fchangedir(tbString* name) {
    StringArg dir(name);
    if (chdir(resolvePath(dir.view()).c_str()) != 0) return;
}

void _fcreatedir(tbString* name) {
    StringArg dir(name);
    if (mkdir(resolvePath(dir.view()).c_str(), 0777) != 0) return;
}

void _fdeletedir(tbString* name) {
    StringArg dir(name);
    if (rmdir(resolvePath(dir.view()).c_str()) != 0) return;
}

int32_t _ffilesize(tbString* name) {
    StringArg file(name);
    std::string path = firstMatch(std::string(file.view()));
    struct stat info;
    if (path.empty() || stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return 0;
    return int32_t(uint32_t(uint64_t(info.st_size)));
}

// A symbolic link whose target is missing still names an entry: it is a file.
int32_t _ffiletype(tbString* name) {
    StringArg file(name);
    std::string path = resolvePath(file.view());
    struct stat info;
    if (stat(path.c_str(), &info) == 0) return S_ISDIR(info.st_mode) ? 2 : 1;
    return lstat(path.c_str(), &info) == 0 ? 1 : 0;
}

void _fcopyfile(tbString* fromName, tbString* toName) {
    StringArg from(fromName), to(toName);
    copyFile(resolvePath(from.view()), resolvePath(to.view()));
}

void _fdeletefile(tbString* name) {
    StringArg file(name);
    std::string path = resolvePath(file.view());
    struct stat info;
    if (lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) unlink(path.c_str());
}

}  // extern "C"

namespace tarsk {

void folderCommandsLink(Registrar add) {
    add("%ReadDir$dirname", reinterpret_cast<const void*>(_freaddir));
    add("$NextFile%dir", reinterpret_cast<const void*>(_fnextfile));
    add("CloseDir%dir", reinterpret_cast<const void*>(_fclosedir));
    add("$CurrentDir", reinterpret_cast<const void*>(_fcurrentdir));
    add("ChangeDir$dir", reinterpret_cast<const void*>(_fchangedir));
    add("CreateDir$dir", reinterpret_cast<const void*>(_fcreatedir));
    add("DeleteDir$dir", reinterpret_cast<const void*>(_fdeletedir));
    add("%FileSize$file", reinterpret_cast<const void*>(_ffilesize));
    add("%FileType$file", reinterpret_cast<const void*>(_ffiletype));
    add("CopyFile$file$to", reinterpret_cast<const void*>(_fcopyfile));
    add("DeleteFile$file", reinterpret_cast<const void*>(_fdeletefile));
}

}  // namespace tarsk
