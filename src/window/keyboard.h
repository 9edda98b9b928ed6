// The polled keyboard state: a fixed table of 43 keys, read once per frame by UpdateKeyboard.
// For each key, "down" is the state at the last poll and "pressed" says it went down at that
// poll; a poll that finds the key up leaves "pressed" as it was. Before the first poll every key
// is neither down nor pressed.
#pragma once

constexpr int kKeyCount = 43;

// Indices into the key table.
enum KeyIndex {
    kKeyLeft = 0,
    kKeyRight = 1,
    kKeyUp = 2,
    kKeyDown = 3,
    kKeyA = 4,   // letters A..Z are 4..29
    kKey0 = 30,  // digits 0..9 are 30..39
    kKey1 = 31,
    kKeyEscape = 40,
    kKeyLeftShift = 41,
    kKeyLeftControl = 42,
};

// The virtual-key code of each table entry.
extern const int g_keyTable[kKeyCount];

void UpdateKeyboard();
bool IsKeyDown(int index);
bool IsKeyPressed(int index);

// Where UpdateKeyboard asks for a key's state, by virtual-key code. The platform's key state
// by default; tests install their own. nullptr restores the default.
using KeySource = bool (*)(int virtualKey);
void SetKeySource(KeySource source);
// Forgets every key's state, as before the first poll (for tests).
void ResetKeyboard();
