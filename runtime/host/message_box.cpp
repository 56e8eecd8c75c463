#include "runtime/host/message_box.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>

namespace tarsk {
namespace {

bool videoAvailable() {
    return SDL_WasInit(SDL_INIT_VIDEO) != 0 || (displayConfigured() && SDL_InitSubSystem(SDL_INIT_VIDEO) == 0);
}

bool systemMessageBox(const MessageBoxRequest& request) {
    if (videoAvailable()) {
        const SDL_MessageBoxButtonData okOnly[] = {
            {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 1, "OK"}};
        const SDL_MessageBoxButtonData okCancel[] = {
            {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "OK"},
            {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "Cancel"}};
        SDL_MessageBoxData data{};
        data.flags = request.warningIcon ? SDL_MESSAGEBOX_WARNING : 0;
        data.window = request.owner;
        data.title = request.title.empty() ? "Error" : request.title.c_str();
        data.message = request.text.c_str();
        data.numbuttons = request.okCancel ? 2 : 1;
        data.buttons = request.okCancel ? okCancel : okOnly;
        int pressed = 0;
        if (SDL_ShowMessageBox(&data, &pressed) == 0) return pressed == 1;
    }
    std::fprintf(stderr, "%s%s%s\n", request.title.c_str(), request.title.empty() ? "" : ": ",
                 request.text.c_str());
    std::fflush(stderr);
    return true;
}

MessageBoxHandler handler = systemMessageBox;

}  // namespace

bool displayConfigured() {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return true;
    }
    return false;
}

bool showMessageBox(const MessageBoxRequest& request) { return handler(request); }

void setMessageBoxHandler(MessageBoxHandler replacement) {
    handler = replacement ? replacement : systemMessageBox;
}

}  // namespace tarsk
