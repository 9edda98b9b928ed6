#include "demo/mancam.h"

#include "render/matrixstack.h"

void ManCam::GetViewMatrix(sm::Mat4& out) const {
    BuildViewOnMatrixStack(m_roll, m_pitch, m_yaw, m_position, out);
}

float ManCam::GetFov(float) const { return 1.0471976f; }
