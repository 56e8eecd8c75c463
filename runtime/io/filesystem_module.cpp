// The file-system command module: file streams and folders over the driver.
#include "runtime/io/file_system_driver.h"
#include "runtime/io/filesystem_commands.h"

namespace tarsk {

void filesystem_link(Registrar add) {
    fileCommandsLink(add);
    folderCommandsLink(add);
}

// Fails while another driver is running.
bool filesystem_create() { return FileSystemDriver::start() != nullptr; }

void filesystem_destroy() {
    closeAllFiles();
    if (FileSystemDriver* driver = FileSystemDriver::current()) driver->stop();
}

}  // namespace tarsk
