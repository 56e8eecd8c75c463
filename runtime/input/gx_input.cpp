#include "runtime/input/gx_input.h"

#include <algorithm>
#include <cmath>

#include "runtime/host/gx_host.h"
#include "runtime/input/scan_codes.h"

namespace tarsk {
namespace {

constexpr uint32_t kJoystickPollMillis = 3;
constexpr float kWheelNotch = 120.0f;

int32_t mouseButton(uint8_t button) {
    switch (button) {
        case SDL_BUTTON_LEFT: return 1;
        case SDL_BUTTON_RIGHT: return 2;
        case SDL_BUTTON_MIDDLE: return 3;
        default: return 0;
    }
}

float axisValue(SDL_Joystick* joystick, int axis) {
    if (axis >= SDL_JoystickNumAxes(joystick)) return 0.0f;  // an axis the device lacks rests centred
    return (float(SDL_JoystickGetAxis(joystick, axis)) + 32768.0f) / 65535.0f * 2.0f - 1.0f;
}

float hatDegrees(SDL_Joystick* joystick) {
    if (SDL_JoystickNumHats(joystick) < 1) return -1.0f;
    switch (SDL_JoystickGetHat(joystick, 0)) {
        case SDL_HAT_UP: return 0.0f;
        case SDL_HAT_RIGHTUP: return 45.0f;
        case SDL_HAT_RIGHT: return 90.0f;
        case SDL_HAT_RIGHTDOWN: return 135.0f;
        case SDL_HAT_DOWN: return 180.0f;
        case SDL_HAT_LEFTDOWN: return 225.0f;
        case SDL_HAT_LEFT: return 270.0f;
        case SDL_HAT_LEFTUP: return 315.0f;
        default: return -1.0f;
    }
}

}  // namespace

gxInput::gxInput(gxHost& host) : host_(host) {
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0) {
        for (int index = 0; index < SDL_NumJoysticks(); ++index) {
            SDL_Joystick* handle = SDL_JoystickOpen(index);
            if (!handle) continue;  // a joystick that cannot be opened is left out
            int32_t type = SDL_JoystickGetType(handle) == SDL_JOYSTICK_TYPE_GAMECONTROLLER ? 1 : 2;
            joysticks_.push_back(std::make_unique<Joystick>(Joystick{handle, type, 0, {}}));
        }
    }
    if (host_.displayKind == kFullScreen && host_.exclusiveInput) host_.exclusiveInput = setExclusive(true);
    resetStates();
}

gxInput::~gxInput() {
    setExclusive(false);
    for (auto& joystick : joysticks_) SDL_JoystickClose(joystick->handle);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

void gxInput::updateKeyboardAndMouse() { host_.pumpEvents(); }

gxDevice* gxInput::joystick(int32_t port) {
    if (port < 0 || port >= joystickCount()) return nullptr;
    Joystick& joystick = *joysticks_[size_t(port)];
    uint32_t now = SDL_GetTicks();
    if (now - joystick.lastPoll >= kJoystickPollMillis) {
        joystick.lastPoll = now;
        poll(joystick);
    }
    return &joystick.device;
}

int32_t gxInput::joystickType(int32_t port) const {
    return port >= 0 && port < joystickCount() ? joysticks_[size_t(port)]->type : 0;
}

void gxInput::flushJoysticks() {
    for (auto& joystick : joysticks_) joystick->device.flush();
}

void gxInput::poll(Joystick& joystick) {
    SDL_JoystickUpdate();
    SDL_Joystick* handle = joystick.handle;
    gxDevice& device = joystick.device;
    // Axes 0..4: x, y, z and the two sliders; 5..7: the three rotations; 8: the hat.
    const int platformAxis[8] = {0, 1, 2, 6, 7, 3, 4, 5};
    for (int slot = 0; slot < 8; ++slot) device.setAxis(slot, axisValue(handle, platformAxis[slot]));
    device.setAxis(8, hatDegrees(handle));
    int buttons = std::min(SDL_JoystickNumButtons(handle), 31);
    for (int button = 0; button < buttons; ++button)
        device.setButton(button + 1, SDL_JoystickGetButton(handle, button) != 0);
}

void gxInput::moveTo(int32_t x, int32_t y) {
    mouse_.setAxis(0, float(x));
    mouse_.setAxis(1, float(y));
    host_.movePointer(x, y);
}

void gxInput::resetStates() {
    keyboard_.reset();
    mouse_.reset();
    for (auto& joystick : joysticks_) joystick->device.reset();
}

bool gxInput::setExclusive(bool exclusive) {
    SDL_Window* window = host_.window();
    if (exclusive && !exclusive_ && window) {
        exclusive_ = SDL_SetRelativeMouseMode(SDL_TRUE) == 0;
        if (exclusive_) SDL_SetWindowKeyboardGrab(window, SDL_TRUE);
    } else if (!exclusive && exclusive_) {
        SDL_SetRelativeMouseMode(SDL_FALSE);
        if (window) SDL_SetWindowKeyboardGrab(window, SDL_FALSE);
        exclusive_ = false;
    }
    return exclusive_;
}

void gxInput::windowEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
            if (!event.key.repeat) keyboard_.keyDown(scanCodeOf(event.key.keysym.scancode));
            break;
        case SDL_KEYUP: keyboard_.keyUp(scanCodeOf(event.key.keysym.scancode)); break;
        case SDL_MOUSEMOTION: mouseMoved(event.motion); break;
        case SDL_MOUSEBUTTONDOWN:
            if (int32_t button = mouseButton(event.button.button)) {
                mouse_.keyDown(button);
                SDL_CaptureMouse(SDL_TRUE);
            }
            break;
        case SDL_MOUSEBUTTONUP:
            if (int32_t button = mouseButton(event.button.button)) {
                mouse_.keyUp(button);
                if (!mouse_.isDown(1) && !mouse_.isDown(2) && !mouse_.isDown(3)) SDL_CaptureMouse(SDL_FALSE);
            }
            break;
        case SDL_MOUSEWHEEL: {
            int notches = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
            mouse_.setAxis(2, mouse_.axis(2) + float(notches) * kWheelNotch);
            break;
        }
        default: break;
    }
}

void gxInput::mouseMoved(const SDL_MouseMotionEvent& motion) {
    int32_t width = host_.graphicsWidth, height = host_.graphicsHeight;
    if (host_.displayKind == kNoDisplay || width <= 0 || height <= 0) return;
    float x, y;
    if (exclusive_) {
        x = mouse_.axis(0) + float(motion.xrel);
        y = mouse_.axis(1) + float(motion.yrel);
    } else {
        int clientWidth = width, clientHeight = height;
        if (SDL_Window* window = host_.window()) SDL_GetWindowSize(window, &clientWidth, &clientHeight);
        x = float(motion.x);
        y = float(motion.y);
        if (host_.displayKind == kScaledWindow) {
            x = float(int64_t(motion.x) * width / std::max(clientWidth, 1));
            y = float(int64_t(motion.y) * height / std::max(clientHeight, 1));
        } else if (host_.displayKind == kFullScreen) {
            // The picture is letterboxed into the desktop-sized window; the position is not clamped.
            float scale = std::min(float(clientWidth) / float(width), float(clientHeight) / float(height));
            x = std::floor((float(motion.x) - (float(clientWidth) - float(width) * scale) / 2) / scale);
            y = std::floor((float(motion.y) - (float(clientHeight) - float(height) * scale) / 2) / scale);
            mouse_.setAxis(0, x);
            mouse_.setAxis(1, y);
            return;
        }
    }
    mouse_.setAxis(0, std::clamp(x, 0.0f, float(width - 1)));
    mouse_.setAxis(1, std::clamp(y, 0.0f, float(height - 1)));
}

std::string gxInput::systemProperty(std::string_view name) {
    return name == "directinput7" ? std::to_string(reinterpret_cast<uintptr_t>(this)) : "";
}

}  // namespace tarsk
