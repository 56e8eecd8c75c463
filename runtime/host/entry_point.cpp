// The entry point of a standalone program: it runs the module image it carries.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "runtime/host/command_line.h"
#include "runtime/host/image_runner.h"
#include "runtime/host/message_box.h"
#include "runtime/host/resource.h"
#include "runtime/host/system_paths.h"

extern "C" [[noreturn]] void tbWinMain(int argc, char** argv) {
    std::vector<uint8_t> image;
    if (!tarsk::readResource(tarsk::executablePath(), tarsk::kModuleImageResource, image)) {
        tarsk::showMessageBox({"", "Unable to run Tarsk Basic module", false, false, nullptr});
        std::exit(-1);
    }
    std::string arguments = tarsk::argumentText(tarsk::processCommandLine(argc, argv));
    std::exit(tarsk::runModuleImage(image, arguments, nullptr));
}

int main(int argc, char** argv) { tbWinMain(argc, argv); }
