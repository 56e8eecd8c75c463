// Input devices, the window road and joysticks, driven by injected platform events.
#include <gtest/gtest.h>
#include <SDL2/SDL.h>

#include <functional>

#include "runtime/host/gx_host.h"
#include "runtime/host/registry.h"
#include "runtime/host/runtime_interface.h"
#include "runtime/input/gx_device.h"
#include "runtime/input/key_characters.h"
#include "tarsk_commands.h"
#include "tests/support/program_frame.h"

using namespace tarsk;

namespace {

// Runs the body as a program with the basic and input modules (and a window of the
// dummy video driver).
void runWithInput(std::function<void()> test) {
    EXPECT_EQ(test::runAsProgram(test, {.modules = {"basic", "input"}, .debugChecks = false, .videoDriver = "dummy"}),
              "");
}

void send(const SDL_Event& event) { currentHost()->input()->windowEvent(event); }

void key(SDL_Scancode code, bool down, bool repeat = false) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.keysym.scancode = code;
    event.key.repeat = repeat;
    send(event);
}

void motion(int x, int y) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = x;
    event.motion.y = y;
    send(event);
}

void showGraphics(DisplayKind kind, int width, int height, int clientWidth, int clientHeight) {
    gxHost* host = currentHost();
    host->displayKind = kind;
    host->graphicsWidth = width;
    host->graphicsHeight = height;
    SDL_SetWindowSize(host->window(), clientWidth, clientHeight);
}

}  // namespace

TEST(Device, QueueHoldsThirtyTwoCodesAndHitsCountEveryPress) {
    gxDevice device;
    for (int i = 0; i < 33; ++i) {
        device.keyDown(30);
        device.keyUp(30);
    }
    int queued = 0;
    while (device.nextCode() == 30) ++queued;
    EXPECT_EQ(queued, 32);
    EXPECT_EQ(device.takeHits(30), 33);
    EXPECT_EQ(device.takeHits(30), 0);

    device.keyDown(57);
    device.flush();  // keeps down states
    EXPECT_TRUE(device.isDown(57));
    EXPECT_EQ(device.nextCode(), 0);
    device.setButton(57, true);  // no change: no press
    EXPECT_EQ(device.takeHits(57), 0);
    device.setButton(57, false);
    device.setButton(57, true);
    EXPECT_EQ(device.takeHits(57), 1);
    for (int code : {-1, 256, 100000}) {  // outside the codes: ignored
        device.keyDown(code);
        EXPECT_FALSE(device.isDown(code));
        EXPECT_EQ(device.takeHits(code), 0);
    }
}

TEST(Device, CharactersWithShiftControlAndAlt) {
    struct Case {
        int code;
        std::vector<int> held;
        int expected;
    };
    const Case cases[] = {
        {30, {}, 97},       {30, {42}, 65},     {30, {54}, 65},    {30, {29}, 1},   {30, {56}, 97},
        {30, {29, 56}, 0},  {203, {}, 31},      {200, {}, 28},     {199, {}, 1},    {211, {}, 4},
        {59, {}, 0},        {2, {42}, '!'},     {28, {}, 13},      {156, {}, 13},   {181, {}, '/'},
        {57, {}, ' '},      {1, {}, 27},        {14, {}, 8},       {26, {29}, 27},  {53, {42}, '?'},
        {71, {}, 0},        {0, {}, 0},         {184, {}, 0},
    };
    for (const Case& c : cases) {
        gxDevice keyboard;
        for (int held : c.held) keyboard.keyDown(held);
        EXPECT_EQ(toCharacter(c.code, keyboard), c.expected) << c.code;
    }
}

TEST(WindowRoad, KeysHeldAndQueued) {
    runWithInput([] {
        key(SDL_SCANCODE_A, true);
        key(SDL_SCANCODE_A, true, true);  // auto-repeats are dropped
        key(SDL_SCANCODE_A, true, true);
        EXPECT_EQ(_fkeydown(30), 1);
        EXPECT_EQ(_fkeyhit(30), 1);
        EXPECT_EQ(_fgetkey(), 97);
        EXPECT_EQ(_fgetkey(), 0);
        key(SDL_SCANCODE_LSHIFT, true);
        key(SDL_SCANCODE_A, true);
        EXPECT_EQ(_fgetkey(), 0);   // shift itself has no character
        EXPECT_EQ(_fgetkey(), 65);
        key(SDL_SCANCODE_LEFT, true);
        key(SDL_SCANCODE_F1, true);
        EXPECT_EQ(_fgetkey(), 31);
        EXPECT_EQ(_fgetkey(), 0);
        EXPECT_EQ(_fkeyhit(205), 0);
        _fflushkeys();
        EXPECT_EQ(_fkeydown(30), 1);
        key(SDL_SCANCODE_A, false);
        EXPECT_EQ(_fkeydown(30), 0);
        key(SDL_SCANCODE_RIGHT, true);  // an extended key: scan code 77 + 128
        EXPECT_EQ(_fkeyhit(205), 1);
    });
}

TEST(WindowRoad, MousePositionsButtonsAndWheel) {
    runWithInput([] {
        // A scaled window twice the graphics size.
        showGraphics(kScaledWindow, 320, 240, 640, 480);
        motion(200, 100);
        EXPECT_EQ(_fmousex(), 100);
        EXPECT_EQ(_fmousey(), 50);
        motion(5000, -20);  // clamped to the graphics
        EXPECT_EQ(_fmousex(), 319);
        EXPECT_EQ(_fmousey(), 0);

        showGraphics(kWindowed, 640, 480, 640, 480);
        _fmovemouse(100, 100);
        motion(130, 90);
        EXPECT_EQ(_fmousexspeed(), 30);
        EXPECT_EQ(_fmouseyspeed(), -10);
        EXPECT_EQ(_fmousexspeed(), 0);

        // Full screen letterboxes a 640 x 480 picture into a 1280 x 1024 window: 2x, 32 rows above.
        showGraphics(kFullScreen, 640, 480, 1280, 1024);
        motion(640, 32 + 480);
        EXPECT_EQ(_fmousex(), 320);
        EXPECT_EQ(_fmousey(), 240);

        for (auto [button, code] : {std::pair{SDL_BUTTON_LEFT, 1}, {SDL_BUTTON_RIGHT, 2}, {SDL_BUTTON_MIDDLE, 3}}) {
            SDL_Event press{};
            press.type = SDL_MOUSEBUTTONDOWN;
            press.button.button = uint8_t(button);
            send(press);
            EXPECT_EQ(_fmousedown(code), 1);
            EXPECT_EQ(_fmousehit(code), 1);
            EXPECT_EQ(_fgetmouse(), code);
            press.type = SDL_MOUSEBUTTONUP;
            send(press);
            EXPECT_EQ(_fmousedown(code), 0);
        }

        SDL_Event wheel{};
        wheel.type = SDL_MOUSEWHEEL;
        wheel.wheel.y = 1;
        for (int i = 0; i < 3; ++i) send(wheel);
        EXPECT_EQ(_fmousez(), 3);
        EXPECT_EQ(_fmousezspeed(), 3);
    });
}

TEST(WindowRoad, EventsArriveThroughTheHostPump) {
    runWithInput([] {
        SDL_Event press{};
        press.type = SDL_KEYDOWN;
        press.key.keysym.scancode = SDL_SCANCODE_SPACE;
        SDL_PushEvent(&press);
        press.type = SDL_KEYUP;
        SDL_PushEvent(&press);  // pressed and released between two polls: still one hit
        SDL_Delay(2);
        EXPECT_EQ(_fkeyhit(57), 1);
        EXPECT_EQ(_fkeydown(57), 0);
        EXPECT_EQ(_fdirectinputenabled(), 0);
        _fenabledirectinput(1);
        EXPECT_EQ(_fdirectinputenabled(), 1);
    });
}

TEST(Joysticks, VirtualJoystickAxesHatAndButtons) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
    int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 4, 1);
    ASSERT_GE(index, 0) << SDL_GetError();
    static int port;
    port = index;
    runWithInput([] {
        SDL_Joystick* stick = SDL_JoystickOpen(port);
        ASSERT_NE(stick, nullptr);
        EXPECT_EQ(_fjoytype(port), 1);
        EXPECT_EQ(_fjoytype(port + 1), 0);
        EXPECT_EQ(_fjoyhat(port + 1), 0);
        SDL_JoystickSetVirtualAxis(stick, 0, 32767);
        SDL_JoystickSetVirtualAxis(stick, 1, -32768);
        SDL_JoystickSetVirtualButton(stick, 0, SDL_PRESSED);
        SDL_Delay(4);
        EXPECT_FLOAT_EQ(_fjoyx(port), 1.0f);
        EXPECT_FLOAT_EQ(_fjoyy(port), -1.0f);
        EXPECT_EQ(_fjoyxdir(port), 1);
        EXPECT_EQ(_fjoyydir(port), -1);
        EXPECT_EQ(_fjoyhat(port), -1);  // centred
        EXPECT_EQ(_fjoydown(1, port), 1);
        EXPECT_EQ(_fjoyhit(1, port), 1);
        EXPECT_EQ(_fgetjoy(port), 1);
        SDL_JoystickSetVirtualHat(stick, 0, SDL_HAT_RIGHT);
        SDL_JoystickSetVirtualButton(stick, 0, SDL_RELEASED);
        SDL_Delay(4);
        EXPECT_EQ(_fjoyhat(port), 90);
        EXPECT_EQ(_fjoydown(1, port), 0);
        SDL_JoystickClose(stick);
    });
    SDL_JoystickDetachVirtual(index);
}
