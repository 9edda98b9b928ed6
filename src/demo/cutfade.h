// The fade to black around camera cuts: from 0.3 s before the active animated camera ends the
// picture goes black within 0.3 s, and once the next camera has taken over it clears again over
// 2.5 s. With a camera that is not animated it stays clear and nothing changes.
#pragma once

class ICamera;

class CutFade {
public:
    // Advances the fade by one frame and returns its opacity, 0 to 1.
    float Update(const ICamera* camera, float time, float dt);
    float GetValue() const { return m_value; }

private:
    float m_value = 0.0f;
    float m_speed = 0.0f;  // opacity units per second
};
