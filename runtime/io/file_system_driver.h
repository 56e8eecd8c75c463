// The file-system driver: folder listings held by handle and the set of open ones.
// One driver exists at a time, from the file-system module's create step to its
// destroy step.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace tarsk {

// A folder's entry names read at once, in byte order (with "." and ".."), and the
// position of the next one; closed once every name was returned.
struct DirectoryListing {
    std::vector<std::string> names;
    size_t next = 0;
};

class FileSystemDriver {
public:
    // nullptr when a driver already exists.
    static FileSystemDriver* start();
    // Closes every listing still open and ends the driver.
    void stop();
    static FileSystemDriver* current();

    // A listing of the folder, or nullptr when it cannot be read.
    DirectoryListing* openListing(const std::string& systemFolder);
    bool isListing(const DirectoryListing* listing) const { return listings_.count(listing) != 0; }
    void closeListing(DirectoryListing* listing);

private:
    FileSystemDriver() = default;
    ~FileSystemDriver() = default;
    std::set<const DirectoryListing*> listings_;
};

// The entry names of a folder in byte order; empty when it cannot be read.
std::vector<std::string> folderEntries(const std::string& systemFolder, bool* readable = nullptr);

}  // namespace tarsk
