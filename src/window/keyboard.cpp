#include "window/keyboard.h"

#include "platform/video.h"

const int g_keyTable[kKeyCount] = {
    0x25, 0x27, 0x26, 0x28,  // left, right, up, down
    0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C,
    0x4D, 0x4E, 0x4F, 0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58,
    0x59, 0x5A, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39,
    0x1B,  // escape
    0xA0,  // left shift
    0xA2,  // left control
};

namespace {

bool g_down[kKeyCount];
bool g_pressed[kKeyCount];
KeySource g_source = PlatformIsKeyDown;

}  // namespace

void SetKeySource(KeySource source) { g_source = source ? source : PlatformIsKeyDown; }

void ResetKeyboard() {
    for (int i = 0; i < kKeyCount; ++i) g_down[i] = g_pressed[i] = false;
}

void UpdateKeyboard() {
    for (int i = 0; i < kKeyCount; ++i) {
        if (g_source(g_keyTable[i])) {
            g_pressed[i] = !g_down[i];
            g_down[i] = true;
        } else {
            g_down[i] = false;
        }
    }
}

bool IsKeyDown(int index) { return index >= 0 && index < kKeyCount && g_down[index]; }
bool IsKeyPressed(int index) { return index >= 0 && index < kKeyCount && g_pressed[index]; }
