// The voices of a polyphonic instrument: a new note takes a voice, each sample advances every
// sounding voice in turn and adds up what they make, and a voice whose note has died away falls
// silent until a new note takes it.
#pragma once

#include <type_traits>

namespace music {

// A stereo sample. Voices that play in stereo give one; the pool adds them up.
struct Stereo {
    double left = 0.0, right = 0.0;
    Stereo& operator+=(const Stereo& other) {
        left += other.left;
        right += other.right;
        return *this;
    }
};

// Voice holds one note's state and says when that note has died away, with
// `bool Finished() const`, which the pool asks after each of the voice's samples. Starting a
// note hands out a voice as it was left; the caller sets it up for the note.
template <typename Voice, int kVoices>
class VoicePool {
public:
    static_assert(kVoices > 0, "a pool needs a voice");

    // The voice for a new note, taken in turn: with every voice busy, the oldest note gives way.
    Voice& StartInTurn() {
        const int i = m_next;
        m_next = (m_next + 1) % kVoices;
        return Start(i);
    }

    // The voice for a new note: the first silent one or, with every voice busy, the one with the
    // lowest `level(voice)` (the first of equals).
    template <typename Level>
    Voice& StartSilentOrQuietest(Level level) {
        int quietest = 0;
        for (int i = 0; i < kVoices; ++i) {
            if (!m_sounding[i]) return Start(i);
            if (level(m_voices[i]) < level(m_voices[quietest])) quietest = i;
        }
        return Start(quietest);
    }

    // One sample: `render(voice)` for every sounding voice in order, summed from zero (a double
    // or a Stereo). A voice whose note has finished falls silent after this sample.
    template <typename Render>
    auto Tick(Render render) {
        std::invoke_result_t<Render&, Voice&> sum{};
        for (int i = 0; i < kVoices; ++i) {
            if (!m_sounding[i]) continue;
            sum += render(m_voices[i]);
            if (m_voices[i].Finished()) m_sounding[i] = false;
        }
        return sum;
    }

private:
    Voice& Start(int i) {
        m_sounding[i] = true;
        return m_voices[i];
    }

    Voice m_voices[kVoices];
    bool m_sounding[kVoices] = {};
    int m_next = 0;
};

}  // namespace music
