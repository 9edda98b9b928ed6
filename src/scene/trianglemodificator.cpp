#include "scene/trianglemodificator.h"

#include "math/easing.h"

BlinkAtStartAndEnd* BlinkAtStartAndEnd::GetInstance() {
    static BlinkAtStartAndEnd instance;
    return &instance;
}

void BlinkAtStartAndEnd::Modify(float time, IModifiableRibbon* ribbon, int triangleIndex) {
    const float t0 = ribbon->GetRibbonTriangle(triangleIndex).m_path->GetStartTime();
    if (time < t0 || time > t0 + kDuration) return;
    const float u = (time - t0) / kDuration;
    const BlinkCurve<float, QuadOut<float>, LinearCurve<float>> blink(kSplit);
    ribbon->SetTriangleGlowPower(triangleIndex, blink.Evaluate(kRestGlow, kPeakGlow, u));
}
