// The two halves of the file-system command module.
#pragma once

#include "runtime/host/registry.h"

namespace tarsk {

// OpenFile, ReadFile, WriteFile, CloseFile, FilePos, SeekFile.
void fileCommandsLink(Registrar add);
// Closes every file stream still open.
void closeAllFiles();

// Listings, the current folder, folders and files by name.
void folderCommandsLink(Registrar add);

}  // namespace tarsk
