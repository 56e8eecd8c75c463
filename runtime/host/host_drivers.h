// What the host needs of the drivers that later modules open on its window.
#pragma once

#include <string>
#include <string_view>

union SDL_Event;

namespace tarsk {

// The open graphics mode.
class HostDisplay {
public:
    virtual ~HostDisplay() = default;
    // Brings the display's surfaces back after the window was hidden; false when lost.
    virtual bool restoreSurfaces() = 0;
    // Shows the front buffer in the window's client area (window kinds).
    virtual void paint() = 0;
    // Answers the system properties that name display objects ("" when unknown).
    virtual std::string systemProperty(std::string_view name) = 0;
};

// The open input driver.
class HostInput {
public:
    virtual ~HostInput() = default;
    virtual void resetStates() = 0;
    // Takes (true) or releases the devices exclusively in full screen; true while held.
    virtual bool setExclusive(bool exclusive) = 0;
    // A keyboard, mouse or text event of the window.
    virtual void windowEvent(const SDL_Event& event) = 0;
    virtual std::string systemProperty(std::string_view name) = 0;
};

}  // namespace tarsk
