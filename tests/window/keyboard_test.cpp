#include <gtest/gtest.h>

#include <set>

#include "window/keyboard.h"

namespace {

std::set<int> g_held;  // virtual-key codes held down for the next poll
bool FakeKeySource(int vk) { return g_held.count(vk) > 0; }

class Keyboard : public testing::Test {
protected:
    void SetUp() override {
        g_held.clear();
        ResetKeyboard();
        SetKeySource(FakeKeySource);
    }
    void TearDown() override { SetKeySource(nullptr); }
};

TEST_F(Keyboard, TableOrderIsLeftRightUpDownLettersDigitsEscapeShiftControl) {
    EXPECT_EQ(g_keyTable[0], 0x25);
    EXPECT_EQ(g_keyTable[1], 0x27);
    EXPECT_EQ(g_keyTable[2], 0x26);
    EXPECT_EQ(g_keyTable[3], 0x28);
    for (int i = 0; i < 26; ++i) EXPECT_EQ(g_keyTable[kKeyA + i], 'A' + i);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(g_keyTable[kKey0 + i], '0' + i);
    EXPECT_EQ(g_keyTable[kKeyEscape], 0x1B);
    EXPECT_EQ(g_keyTable[kKeyLeftShift], 0xA0);
    EXPECT_EQ(g_keyTable[kKeyLeftControl], 0xA2);
}

TEST_F(Keyboard, PressedOnlyAtThePollWhereTheKeyWentDown) {
    // Before the first poll nothing is down or pressed.
    EXPECT_FALSE(IsKeyDown(kKey1));
    EXPECT_FALSE(IsKeyPressed(kKey1));

    g_held = {'1'};
    struct Step {
        bool held;
        bool down;
        bool pressed;
    };
    // held for three polls, released for two (pressed stays), pressed again
    const Step steps[] = {{true, true, true},    {true, true, false},   {true, true, false},
                          {false, false, false}, {false, false, false}, {true, true, true}};
    for (const Step& s : steps) {
        g_held = s.held ? std::set<int>{'1'} : std::set<int>{};
        UpdateKeyboard();
        EXPECT_EQ(IsKeyDown(kKey1), s.down);
        EXPECT_EQ(IsKeyPressed(kKey1), s.pressed);
    }
}

TEST_F(Keyboard, ATapOfOnePollKeepsPressedAfterRelease) {
    g_held = {0xA0};
    UpdateKeyboard();
    g_held.clear();
    UpdateKeyboard();
    UpdateKeyboard();
    EXPECT_FALSE(IsKeyDown(kKeyLeftShift));
    EXPECT_TRUE(IsKeyPressed(kKeyLeftShift));
    EXPECT_FALSE(IsKeyPressed(kKeyLeft));  // other keys untouched
}

}  // namespace
