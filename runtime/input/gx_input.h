// The input driver of the host: the keyboard, the mouse and the joysticks.
#pragma once

#include <SDL2/SDL.h>

#include <memory>
#include <vector>

#include "runtime/host/host_drivers.h"
#include "runtime/input/gx_device.h"

namespace tarsk {

class gxHost;

class gxInput final : public HostInput {
public:
    explicit gxInput(gxHost& host);
    ~gxInput() override;

    // Brings the keyboard and the mouse up to date: the window's pending events.
    void updateKeyboardAndMouse();
    gxDevice& keyboard() { return keyboard_; }
    gxDevice& mouse() { return mouse_; }

    int32_t joystickCount() const { return int32_t(joysticks_.size()); }
    // The joystick at that port, polled when its last poll is 3 ms old; nullptr for no port.
    gxDevice* joystick(int32_t port);
    // 1 for a gamepad, 2 for another joystick, 0 for no port.
    int32_t joystickType(int32_t port) const;
    void flushJoysticks();

    // Sets the mouse position and moves the system pointer there.
    void moveTo(int32_t x, int32_t y);

    void resetStates() override;
    bool setExclusive(bool exclusive) override;
    void windowEvent(const SDL_Event& event) override;
    std::string systemProperty(std::string_view name) override;

private:
    struct Joystick {
        SDL_Joystick* handle;
        int32_t type;
        uint32_t lastPoll = 0;
        gxDevice device;
    };

    void poll(Joystick& joystick);
    void mouseMoved(const SDL_MouseMotionEvent& motion);

    gxHost& host_;
    gxDevice keyboard_;
    gxDevice mouse_;
    std::vector<std::unique_ptr<Joystick>> joysticks_;
    bool exclusive_ = false;  // the devices are held: relative mouse and grabbed keyboard
};

}  // namespace tarsk
