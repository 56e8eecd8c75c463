#include "runtime/io/file_system_driver.h"

#include <dirent.h>

#include <algorithm>

#include "runtime/host/arena.h"

namespace tarsk {
namespace {

FileSystemDriver* runningDriver = nullptr;

}  // namespace

std::vector<std::string> folderEntries(const std::string& systemFolder, bool* readable) {
    std::vector<std::string> names;
    DIR* dir = opendir(systemFolder.empty() ? "." : systemFolder.c_str());
    if (readable) *readable = dir != nullptr;
    if (!dir) return names;
    while (const dirent* entry = readdir(dir)) names.emplace_back(entry->d_name);
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

FileSystemDriver* FileSystemDriver::start() {
    if (runningDriver) return nullptr;
    runningDriver = new FileSystemDriver();
    return runningDriver;
}

FileSystemDriver* FileSystemDriver::current() { return runningDriver; }

void FileSystemDriver::stop() {
    while (!listings_.empty()) closeListing(const_cast<DirectoryListing*>(*listings_.begin()));
    if (runningDriver == this) runningDriver = nullptr;
    delete this;
}

DirectoryListing* FileSystemDriver::openListing(const std::string& systemFolder) {
    bool readable = false;
    std::vector<std::string> names = folderEntries(systemFolder, &readable);
    if (!readable) return nullptr;
    auto* listing = arenaNew<DirectoryListing>();
    listing->names = std::move(names);
    listings_.insert(listing);
    return listing;
}

void FileSystemDriver::closeListing(DirectoryListing* listing) {
    if (listings_.erase(listing) == 0) return;
    arenaDelete(listing);
}

}  // namespace tarsk
