// The input commands: keyboard, mouse and joysticks.
#include <cmath>

#include "runtime/host/gx_host.h"
#include "runtime/host/registry.h"
#include "runtime/host/runtime_error.h"
#include "runtime/input/gx_input.h"
#include "runtime/input/key_characters.h"

using namespace tarsk;

namespace {

constexpr int32_t kWaitStepMillis = 20;
constexpr float kDirectionThreshold = 0.33333334f;

gxInput* input = nullptr;
int32_t lastMouseX = 0, lastMouseY = 0, lastMouseZ = 0;

gxDevice& keyboard() {
    input->updateKeyboardAndMouse();
    return input->keyboard();
}

gxDevice& mouse() {
    input->updateKeyboardAndMouse();
    return input->mouse();
}

float joystickAxis(int32_t port, int32_t axis) {
    gxDevice* joystick = input->joystick(port);
    return joystick ? joystick->axis(axis) : 0.0f;
}

int32_t direction(float value) { return value < -kDirectionThreshold ? -1 : value > kDirectionThreshold ? 1 : 0; }

// Waits until next() gives a non-zero code; ends the program when the window closes.
template <class Next>
int32_t waitFor(Next next) {
    for (;;) {
        if (int32_t code = next()) return code;
        if (!currentHost()->waitMillis(kWaitStepMillis)) endProgram();
    }
}

int32_t mouseZ() { return int32_t(mouse().axis(2) * 0.008333334f); }

}  // namespace

extern "C" {

int32_t _fkeydown(int32_t key) { return keyboard().isDown(key) ? 1 : 0; }
int32_t _fkeyhit(int32_t key) { return keyboard().takeHits(key); }
int32_t _fgetkey() {
    gxDevice& keys = keyboard();
    return toCharacter(keys.nextCode(), keys);
}
int32_t _fwaitkey() {
    return waitFor([] {
        gxDevice& keys = keyboard();
        int32_t code = keys.nextCode();
        return code ? toCharacter(code, keys) : 0;  // codes without a character are consumed
    });
}
void _fflushkeys() { keyboard().flush(); }

int32_t _fmousedown(int32_t button) { return mouse().isDown(button) ? 1 : 0; }
int32_t _fmousehit(int32_t button) { return mouse().takeHits(button); }
int32_t _fgetmouse() { return mouse().nextCode(); }
int32_t _fwaitmouse() {
    return waitFor([] { return mouse().nextCode(); });
}
int32_t _fmousex() { return int32_t(mouse().axis(0)); }
int32_t _fmousey() { return int32_t(mouse().axis(1)); }
int32_t _fmousez() { return mouseZ(); }
int32_t _fmousexspeed() {
    int32_t x = int32_t(mouse().axis(0)), speed = x - lastMouseX;
    lastMouseX = x;
    return speed;
}
int32_t _fmouseyspeed() {
    int32_t y = int32_t(mouse().axis(1)), speed = y - lastMouseY;
    lastMouseY = y;
    return speed;
}
int32_t _fmousezspeed() {
    int32_t z = mouseZ(), speed = z - lastMouseZ;
    lastMouseZ = z;
    return speed;
}
void _fflushmouse() { mouse().flush(); }
void _fmovemouse(int32_t x, int32_t y) {
    lastMouseX = x;
    lastMouseY = y;
    input->moveTo(x, y);
}

int32_t _fjoytype(int32_t port) { return input->joystickType(port); }
int32_t _fjoydown(int32_t button, int32_t port) {
    gxDevice* joystick = input->joystick(port);
    return joystick && joystick->isDown(button) ? 1 : 0;
}
int32_t _fjoyhit(int32_t button, int32_t port) {
    gxDevice* joystick = input->joystick(port);
    return joystick ? joystick->takeHits(button) : 0;
}
int32_t _fgetjoy(int32_t port) {
    gxDevice* joystick = input->joystick(port);
    return joystick ? joystick->nextCode() : 0;
}
int32_t _fwaitjoy(int32_t port) {
    if (!input->joystick(port)) return 0;
    return waitFor([port] { return input->joystick(port)->nextCode(); });
}
float _fjoyx(int32_t port) { return joystickAxis(port, 0); }
float _fjoyy(int32_t port) { return joystickAxis(port, 1); }
float _fjoyz(int32_t port) { return joystickAxis(port, 2); }
float _fjoyu(int32_t port) { return joystickAxis(port, 3); }
float _fjoyv(int32_t port) { return joystickAxis(port, 4); }
float _fjoypitch(int32_t port) { return joystickAxis(port, 5) * 180.0f; }
float _fjoyyaw(int32_t port) { return joystickAxis(port, 6) * 180.0f; }
float _fjoyroll(int32_t port) { return joystickAxis(port, 7) * 180.0f; }
int32_t _fjoyhat(int32_t port) { return int32_t(joystickAxis(port, 8)); }
int32_t _fjoyxdir(int32_t port) { return direction(joystickAxis(port, 0)); }
int32_t _fjoyydir(int32_t port) { return direction(joystickAxis(port, 1)); }
int32_t _fjoyzdir(int32_t port) { return direction(joystickAxis(port, 2)); }
int32_t _fjoyudir(int32_t port) { return direction(joystickAxis(port, 3)); }
int32_t _fjoyvdir(int32_t port) { return direction(joystickAxis(port, 4)); }
void _fflushjoy() { input->flushJoysticks(); }

void _fenabledirectinput(int32_t enable) { currentHost()->setExclusiveInput(enable != 0); }
int32_t _fdirectinputenabled() { return currentHost()->exclusiveInput ? 1 : 0; }
}

namespace tarsk {

#define ADD(signature, function) add(signature, reinterpret_cast<const void*>(function))
void input_link(Registrar add) {
    ADD("%KeyDown%key", _fkeydown);
    ADD("%KeyHit%key", _fkeyhit);
    ADD("%GetKey", _fgetkey);
    ADD("%WaitKey", _fwaitkey);
    ADD("FlushKeys", _fflushkeys);
    ADD("%MouseDown%button", _fmousedown);
    ADD("%MouseHit%button", _fmousehit);
    ADD("%GetMouse", _fgetmouse);
    ADD("%WaitMouse", _fwaitmouse);
    ADD("%MouseWait", _fwaitmouse);
    ADD("%MouseX", _fmousex);
    ADD("%MouseY", _fmousey);
    ADD("%MouseZ", _fmousez);
    ADD("%MouseXSpeed", _fmousexspeed);
    ADD("%MouseYSpeed", _fmouseyspeed);
    ADD("%MouseZSpeed", _fmousezspeed);
    ADD("FlushMouse", _fflushmouse);
    ADD("MoveMouse%x%y", _fmovemouse);
    ADD("%JoyType%port=0", _fjoytype);
    ADD("%JoyDown%button%port=0", _fjoydown);
    ADD("%JoyHit%button%port=0", _fjoyhit);
    ADD("%GetJoy%port=0", _fgetjoy);
    ADD("%WaitJoy%port=0", _fwaitjoy);
    ADD("%JoyWait%port=0", _fwaitjoy);
    ADD("#JoyX%port=0", _fjoyx);
    ADD("#JoyY%port=0", _fjoyy);
    ADD("#JoyZ%port=0", _fjoyz);
    ADD("#JoyU%port=0", _fjoyu);
    ADD("#JoyV%port=0", _fjoyv);
    ADD("#JoyPitch%port=0", _fjoypitch);
    ADD("#JoyYaw%port=0", _fjoyyaw);
    ADD("#JoyRoll%port=0", _fjoyroll);
    ADD("%JoyHat%port=0", _fjoyhat);
    ADD("%JoyXDir%port=0", _fjoyxdir);
    ADD("%JoyYDir%port=0", _fjoyydir);
    ADD("%JoyZDir%port=0", _fjoyzdir);
    ADD("%JoyUDir%port=0", _fjoyudir);
    ADD("%JoyVDir%port=0", _fjoyvdir);
    ADD("FlushJoy", _fflushjoy);
    ADD("EnableDirectInput%enable", _fenabledirectinput);
    ADD("%DirectInputEnabled", _fdirectinputenabled);
}
#undef ADD

bool input_create() {
    gxHost* host = currentHost();
    input = new gxInput(*host);
    host->setInput(input);
    lastMouseX = lastMouseY = lastMouseZ = 0;
    return true;
}

void input_destroy() {
    if (gxHost* host = currentHost()) host->setInput(nullptr);
    delete input;
    input = nullptr;
}

}  // namespace tarsk
