#include "runtime/input/key_characters.h"

#include <string_view>

#include "runtime/input/gx_device.h"

namespace tarsk {
namespace {

struct KeyCharacters {
    char plain;
    char shifted;
};

// The layout's characters by scan code (0..127): the standard 101-key layout.
KeyCharacters layout(int scan) {
    switch (scan) {
        case 1: return {27, 27};
        case 2: return {'1', '!'};
        case 3: return {'2', '@'};
        case 4: return {'3', '#'};
        case 5: return {'4', '$'};
        case 6: return {'5', '%'};
        case 7: return {'6', '^'};
        case 8: return {'7', '&'};
        case 9: return {'8', '*'};
        case 10: return {'9', '('};
        case 11: return {'0', ')'};
        case 12: return {'-', '_'};
        case 13: return {'=', '+'};
        case 14: return {8, 8};
        case 15: return {9, 9};
        case 26: return {'[', '{'};
        case 27: return {']', '}'};
        case 28: return {13, 13};
        case 39: return {';', ':'};
        case 40: return {'\'', '"'};
        case 41: return {'`', '~'};
        case 43: return {'\\', '|'};
        case 51: return {',', '<'};
        case 52: return {'.', '>'};
        case 53: return {'/', '?'};
        case 55: return {'*', '*'};
        case 57: return {' ', ' '};
        case 74: return {'-', '-'};
        case 78: return {'+', '+'};
        case 86: return {'\\', '|'};
        default: break;
    }
    const std::string_view rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
    const int starts[] = {16, 30, 44};
    for (int row = 0; row < 3; ++row) {
        int index = scan - starts[row];
        if (index >= 0 && index < int(rows[row].size())) return {rows[row][index], char(rows[row][index] - 32)};
    }
    return {0, 0};
}

// Control turns letters and a few keys into control characters.
int32_t withControl(int scan, char plain, bool shift) {
    if (plain >= 'a' && plain <= 'z') return plain - 'a' + 1;
    switch (plain) {
        case '[': return 27;
        case '\\': return 28;
        case ']': return 29;
        case ' ': return ' ';
        case 27: return 27;
        case 13: return 10;
        case 8: return 127;
        default: break;
    }
    if (shift && scan == 7) return 30;   // ^
    if (shift && scan == 12) return 31;  // _
    return 0;
}

}  // namespace

int32_t toCharacter(int32_t code, const gxDevice& keyboard) {
    switch (code) {
        case 199: return 1;
        case 207: return 2;
        case 210: return 3;
        case 211: return 4;
        case 201: return 5;
        case 209: return 6;
        case 200: return 28;
        case 208: return 29;
        case 205: return 30;
        case 203: return 31;
        default: break;
    }
    if (code <= 0 || code > 255) return 0;
    int scan = code % 128;
    KeyCharacters key = layout(scan);
    if (!key.plain) return 0;
    bool shift = keyboard.isDown(42) || keyboard.isDown(54);
    bool control = keyboard.isDown(29) || keyboard.isDown(157);
    bool alt = keyboard.isDown(56) || keyboard.isDown(184);
    if (control && alt) return 0;  // the layout has no third level
    if (control) return withControl(scan, key.plain, shift);
    return (unsigned char)(shift ? key.shifted : key.plain);
}

}  // namespace tarsk
