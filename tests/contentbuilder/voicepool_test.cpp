#include <gtest/gtest.h>

#include "voicepool.h"

namespace {

using music::VoicePool;

// Plays `value` for `samples` samples, then has finished.
struct TestVoice {
    double value = 0.0;
    int samples = 0;
    int played = 0;
    bool Finished() const { return played >= samples; }
};

TestVoice& Play(TestVoice& voice, double value, int samples) {
    voice = TestVoice{value, samples};
    return voice;
}

template <int N>
double Tick(VoicePool<TestVoice, N>& pool) {
    return pool.Tick([](TestVoice& v) {
        ++v.played;
        return v.value;
    });
}

TEST(VoicePool, FinishedNotesFallSilentAndFreeTheirVoice) {
    VoicePool<TestVoice, 3> pool;
    const auto level = [](const TestVoice& v) { return v.value; };
    TestVoice& shortNote = Play(pool.StartSilentOrQuietest(level), 1.0, 2);
    TestVoice& longNote = Play(pool.StartSilentOrQuietest(level), 10.0, 4);
    EXPECT_NE(&shortNote, &longNote);

    EXPECT_EQ(Tick(pool), 11.0);
    EXPECT_EQ(Tick(pool), 11.0);
    EXPECT_EQ(Tick(pool), 10.0);  // the short note has ended and is not played again
    EXPECT_EQ(shortNote.played, 2);

    // A new note takes the first silent voice and sounds from the next sample on.
    TestVoice& next = Play(pool.StartSilentOrQuietest(level), 100.0, 1);
    EXPECT_EQ(&next, &shortNote);
    EXPECT_EQ(Tick(pool), 110.0);
    EXPECT_EQ(Tick(pool), 0.0);
    EXPECT_EQ(longNote.played, 4);
}

TEST(VoicePool, BeyondItsVoicesANoteTakesTheQuietestOrTheOldest) {
    // All busy: the quietest gives way, the first of equals.
    VoicePool<TestVoice, 3> byLevel;
    const auto level = [](const TestVoice& v) { return v.value; };
    TestVoice* voices[3];
    const double values[3] = {0.5, 0.2, 0.2};
    for (int i = 0; i < 3; ++i)
        voices[i] = &Play(byLevel.StartSilentOrQuietest(level), values[i], 9);
    EXPECT_EQ(&byLevel.StartSilentOrQuietest(level), voices[1]);

    // In turn: the fourth note takes the first one's voice, the fifth the second's.
    VoicePool<TestVoice, 3> inTurn;
    TestVoice& first = Play(inTurn.StartInTurn(), 1.0, 9);
    TestVoice& second = Play(inTurn.StartInTurn(), 10.0, 9);
    Play(inTurn.StartInTurn(), 100.0, 9);
    EXPECT_EQ(&Play(inTurn.StartInTurn(), 1000.0, 9), &first);
    EXPECT_EQ(Tick(inTurn), 1110.0);
    EXPECT_EQ(&inTurn.StartInTurn(), &second);
}

}  // namespace
