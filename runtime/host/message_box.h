// Message boxes, with standard error standing in where no display can be opened.
#pragma once

#include <string>

struct SDL_Window;

namespace tarsk {

struct MessageBoxRequest {
    std::string title;  // empty: the system's default caption
    std::string text;
    bool okCancel = false;  // OK and Cancel buttons, otherwise OK alone
    bool warningIcon = false;
    SDL_Window* owner = nullptr;
};

// True when a display may be opened (a display server or an explicit video driver is set);
// without one the video layer is never started, so nothing probes for servers.
bool displayConfigured();

// Shows the box and returns true when it was answered with OK.
bool showMessageBox(const MessageBoxRequest& request);

// Replaces how boxes are shown (tests answer them); nullptr restores the default.
using MessageBoxHandler = bool (*)(const MessageBoxRequest& request);
void setMessageBoxHandler(MessageBoxHandler handler);

}  // namespace tarsk
