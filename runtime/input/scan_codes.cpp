#include "runtime/input/scan_codes.h"

#include <array>

namespace tarsk {
namespace {

constexpr int kExtended = 128;

std::array<uint8_t, SDL_NUM_SCANCODES> buildTable() {
    std::array<uint8_t, SDL_NUM_SCANCODES> t{};
    t[SDL_SCANCODE_ESCAPE] = 1;
    const SDL_Scancode digits[] = {SDL_SCANCODE_1, SDL_SCANCODE_2, SDL_SCANCODE_3, SDL_SCANCODE_4, SDL_SCANCODE_5,
                                   SDL_SCANCODE_6, SDL_SCANCODE_7, SDL_SCANCODE_8, SDL_SCANCODE_9, SDL_SCANCODE_0};
    for (int i = 0; i < 10; ++i) t[digits[i]] = uint8_t(2 + i);
    t[SDL_SCANCODE_MINUS] = 12;
    t[SDL_SCANCODE_EQUALS] = 13;
    t[SDL_SCANCODE_BACKSPACE] = 14;
    t[SDL_SCANCODE_TAB] = 15;
    const SDL_Scancode top[] = {SDL_SCANCODE_Q, SDL_SCANCODE_W, SDL_SCANCODE_E, SDL_SCANCODE_R, SDL_SCANCODE_T,
                                SDL_SCANCODE_Y, SDL_SCANCODE_U, SDL_SCANCODE_I, SDL_SCANCODE_O, SDL_SCANCODE_P};
    for (int i = 0; i < 10; ++i) t[top[i]] = uint8_t(16 + i);
    t[SDL_SCANCODE_LEFTBRACKET] = 26;
    t[SDL_SCANCODE_RIGHTBRACKET] = 27;
    t[SDL_SCANCODE_RETURN] = 28;
    t[SDL_SCANCODE_LCTRL] = 29;
    const SDL_Scancode home[] = {SDL_SCANCODE_A, SDL_SCANCODE_S, SDL_SCANCODE_D, SDL_SCANCODE_F, SDL_SCANCODE_G,
                                 SDL_SCANCODE_H, SDL_SCANCODE_J, SDL_SCANCODE_K, SDL_SCANCODE_L};
    for (int i = 0; i < 9; ++i) t[home[i]] = uint8_t(30 + i);
    t[SDL_SCANCODE_SEMICOLON] = 39;
    t[SDL_SCANCODE_APOSTROPHE] = 40;
    t[SDL_SCANCODE_GRAVE] = 41;
    t[SDL_SCANCODE_LSHIFT] = 42;
    t[SDL_SCANCODE_BACKSLASH] = 43;
    const SDL_Scancode bottom[] = {SDL_SCANCODE_Z, SDL_SCANCODE_X, SDL_SCANCODE_C, SDL_SCANCODE_V,
                                   SDL_SCANCODE_B, SDL_SCANCODE_N, SDL_SCANCODE_M};
    for (int i = 0; i < 7; ++i) t[bottom[i]] = uint8_t(44 + i);
    t[SDL_SCANCODE_COMMA] = 51;
    t[SDL_SCANCODE_PERIOD] = 52;
    t[SDL_SCANCODE_SLASH] = 53;
    t[SDL_SCANCODE_RSHIFT] = 54;
    t[SDL_SCANCODE_KP_MULTIPLY] = 55;
    t[SDL_SCANCODE_LALT] = 56;
    t[SDL_SCANCODE_SPACE] = 57;
    t[SDL_SCANCODE_CAPSLOCK] = 58;
    for (int i = 0; i < 10; ++i) t[SDL_SCANCODE_F1 + i] = uint8_t(59 + i);
    t[SDL_SCANCODE_NUMLOCKCLEAR] = 69;
    t[SDL_SCANCODE_SCROLLLOCK] = 70;
    t[SDL_SCANCODE_KP_7] = 71;
    t[SDL_SCANCODE_KP_8] = 72;
    t[SDL_SCANCODE_KP_9] = 73;
    t[SDL_SCANCODE_KP_MINUS] = 74;
    t[SDL_SCANCODE_KP_4] = 75;
    t[SDL_SCANCODE_KP_5] = 76;
    t[SDL_SCANCODE_KP_6] = 77;
    t[SDL_SCANCODE_KP_PLUS] = 78;
    t[SDL_SCANCODE_KP_1] = 79;
    t[SDL_SCANCODE_KP_2] = 80;
    t[SDL_SCANCODE_KP_3] = 81;
    t[SDL_SCANCODE_KP_0] = 82;
    t[SDL_SCANCODE_KP_PERIOD] = 83;
    t[SDL_SCANCODE_NONUSBACKSLASH] = 86;
    t[SDL_SCANCODE_F11] = 87;
    t[SDL_SCANCODE_F12] = 88;
    t[SDL_SCANCODE_F13] = 100;
    t[SDL_SCANCODE_F14] = 101;
    t[SDL_SCANCODE_F15] = 102;
    t[SDL_SCANCODE_KP_EQUALS] = 141;
    t[SDL_SCANCODE_AUDIOPREV] = 144;
    t[SDL_SCANCODE_AUDIONEXT] = 153;
    t[SDL_SCANCODE_KP_ENTER] = 28 + kExtended;
    t[SDL_SCANCODE_RCTRL] = 29 + kExtended;
    t[SDL_SCANCODE_MUTE] = 160;
    t[SDL_SCANCODE_AUDIOPLAY] = 162;
    t[SDL_SCANCODE_AUDIOSTOP] = 164;
    t[SDL_SCANCODE_VOLUMEDOWN] = 174;
    t[SDL_SCANCODE_VOLUMEUP] = 176;
    t[SDL_SCANCODE_KP_DIVIDE] = 53 + kExtended;
    t[SDL_SCANCODE_PRINTSCREEN] = 55 + kExtended;
    t[SDL_SCANCODE_RALT] = 56 + kExtended;
    t[SDL_SCANCODE_PAUSE] = 197;
    t[SDL_SCANCODE_HOME] = 199;
    t[SDL_SCANCODE_UP] = 200;
    t[SDL_SCANCODE_PAGEUP] = 201;
    t[SDL_SCANCODE_LEFT] = 203;
    t[SDL_SCANCODE_RIGHT] = 205;
    t[SDL_SCANCODE_END] = 207;
    t[SDL_SCANCODE_DOWN] = 208;
    t[SDL_SCANCODE_PAGEDOWN] = 209;
    t[SDL_SCANCODE_INSERT] = 210;
    t[SDL_SCANCODE_DELETE] = 211;
    t[SDL_SCANCODE_LGUI] = 219;
    t[SDL_SCANCODE_RGUI] = 220;
    t[SDL_SCANCODE_APPLICATION] = 221;
    return t;
}

}  // namespace

int32_t scanCodeOf(SDL_Scancode key) {
    static const std::array<uint8_t, SDL_NUM_SCANCODES> table = buildTable();
    return key >= 0 && key < SDL_NUM_SCANCODES ? table[key] : 0;
}

}  // namespace tarsk
