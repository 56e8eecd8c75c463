#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <sys/utsname.h>

#include <cstdlib>

#include "runtime/host/gx_host.h"
#include "runtime/host/system_paths.h"

namespace tarsk {
namespace {

std::string withTrailingSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

std::string operatingSystem() {
    utsname names;
    if (uname(&names) != 0) return "Linux";
    std::string release = names.release;  // "6.1.0-28-amd64": keep major.minor
    size_t end = release.find_first_not_of("0123456789.");
    release = release.substr(0, end);
    size_t second = release.find('.', release.find('.') + 1);
    if (second != std::string::npos) release.resize(second);
    return std::string(names.sysname) + (release.empty() ? "" : " " + release);
}

std::string windowHandle(SDL_Window* window) {
    if (!window) return "";
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return "";
    return std::to_string(static_cast<unsigned long>(info.info.x11.window));
}

}  // namespace

std::string gxHost::systemProperty(std::string_view name) {
    std::string key(name);
    for (char& c : key) c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (key == "cpu") return "Intel";
    if (key == "os") return operatingSystem();
    if (key == "appdir") return executableFolder();
    if (key == "apphwnd") return windowHandle(window_);
    if (key == "apphinstance") return std::to_string(reinterpret_cast<uintptr_t>(instance_));
    // The system folders that programs look into for fonts, libraries and scratch files.
    if (key == "windowsdir") return "/usr/share/";
    if (key == "systemdir") return "/usr/lib/";
    if (key == "tempdir") {
        const char* temp = std::getenv("TMPDIR");
        return withTrailingSlash(temp && *temp ? temp : "/tmp");
    }
    if (key == "direct3d7" || key == "direct3ddevice7" || key == "directdraw7")
        return display_ ? display_->systemProperty(key) : "";
    if (key == "directinput7") return input_ ? input_->systemProperty(key) : "";
    return "";
}

}  // namespace tarsk
