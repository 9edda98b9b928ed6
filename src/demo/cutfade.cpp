#include "demo/cutfade.h"

#include "camera/animcamera.h"

float CutFade::Update(const ICamera* camera, float time, float dt) {
    const AnimCamera* animated = dynamic_cast<const AnimCamera*>(camera);
    if (!animated) return 0.0f;
    if (time > animated->GetEndTime() - 0.3f) m_speed = 3.3333333f;
    m_value += dt * m_speed;
    if (m_value >= 1.0f) {
        m_value = 1.0f;
        m_speed = -0.4f;
    } else if (m_value <= 0.0f) {
        m_value = 0.0f;
        m_speed = 0.0f;
    }
    return m_value;
}
