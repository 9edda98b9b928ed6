#include "math/mat4.h"

namespace sm {

Mat4 Mat4::Transpose() const {
    Mat4 r;
    for (int row = 0; row < 4; ++row) {
        for (int c = 0; c < 4; ++c) r.m[row + 4 * c] = m[c + 4 * row];
    }
    return r;
}

Mat4 Mat4::Inverse() const {
    // Laplace expansion along the first two columns: the 2×2 minors of columns 0 and 1 (s) pair
    // with the complementary minors of columns 2 and 3 (c). Each entry of the adjugate is a
    // 3×3 cofactor written in these minors. The expansion is symmetric under transposition, so
    // it reads and writes the storage in the same order and needs no index swap.
    const float* a = m;
    float s0 = a[0] * a[5] - a[4] * a[1];
    float s1 = a[0] * a[6] - a[4] * a[2];
    float s2 = a[0] * a[7] - a[4] * a[3];
    float s3 = a[1] * a[6] - a[5] * a[2];
    float s4 = a[1] * a[7] - a[5] * a[3];
    float s5 = a[2] * a[7] - a[6] * a[3];

    float c5 = a[10] * a[15] - a[14] * a[11];
    float c4 = a[9] * a[15] - a[13] * a[11];
    float c3 = a[9] * a[14] - a[13] * a[10];
    float c2 = a[8] * a[15] - a[12] * a[11];
    float c1 = a[8] * a[14] - a[12] * a[10];
    float c0 = a[8] * a[13] - a[12] * a[9];

    float det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    float k = 1.0f / det;

    Mat4 r;
    r.m[0] = (a[5] * c5 - a[6] * c4 + a[7] * c3) * k;
    r.m[1] = (-a[1] * c5 + a[2] * c4 - a[3] * c3) * k;
    r.m[2] = (a[13] * s5 - a[14] * s4 + a[15] * s3) * k;
    r.m[3] = (-a[9] * s5 + a[10] * s4 - a[11] * s3) * k;

    r.m[4] = (-a[4] * c5 + a[6] * c2 - a[7] * c1) * k;
    r.m[5] = (a[0] * c5 - a[2] * c2 + a[3] * c1) * k;
    r.m[6] = (-a[12] * s5 + a[14] * s2 - a[15] * s1) * k;
    r.m[7] = (a[8] * s5 - a[10] * s2 + a[11] * s1) * k;

    r.m[8] = (a[4] * c4 - a[5] * c2 + a[7] * c0) * k;
    r.m[9] = (-a[0] * c4 + a[1] * c2 - a[3] * c0) * k;
    r.m[10] = (a[12] * s4 - a[13] * s2 + a[15] * s0) * k;
    r.m[11] = (-a[8] * s4 + a[9] * s2 - a[11] * s0) * k;

    r.m[12] = (-a[4] * c3 + a[5] * c1 - a[6] * c0) * k;
    r.m[13] = (a[0] * c3 - a[1] * c1 + a[2] * c0) * k;
    r.m[14] = (-a[12] * s3 + a[13] * s1 - a[14] * s0) * k;
    r.m[15] = (a[8] * s3 - a[9] * s1 + a[10] * s0) * k;
    return r;
}

Mat4 Mat4::Translation(float x, float y, float z) {
    Mat4 r;
    r.m[12] = x;
    r.m[13] = y;
    r.m[14] = z;
    return r;
}

Mat4 Mat4::Scale(float x, float y, float z) {
    Mat4 r;
    r.m[0] = x;
    r.m[5] = y;
    r.m[10] = z;
    return r;
}

Mat4 Mat4::Rotation(float angle, float x, float y, float z) {
    float c = Cos(angle);
    float s = Sin(angle);
    float g = 1.0f - c;
    Mat4 r;
    r.m[0] = x * x * g + c;
    r.m[1] = y * x * g + z * s;
    r.m[2] = x * z * g - y * s;
    r.m[4] = y * x * g - z * s;
    r.m[5] = y * y * g + c;
    r.m[6] = y * z * g + x * s;
    r.m[8] = x * z * g + y * s;
    r.m[9] = y * z * g - x * s;
    r.m[10] = z * z * g + c;
    return r;
}

Mat4 Mat4::Perspective(float fovX, float aspect, float nearZ, float farZ) {
    float half = Atan(Tan(fovX / 2.0f) / aspect);  // the vertical half-angle
    float cot = 1.0f / Tan(half);
    Mat4 r;
    r.m[0] = cot / aspect;
    r.m[5] = cot;
    r.m[10] = (farZ + nearZ) / (nearZ - farZ);
    r.m[11] = -1.0f;
    r.m[14] = 2.0f * nearZ * farZ / (nearZ - farZ);
    r.m[15] = 0.0f;
    return r;
}

Mat4 Mat4::Ortho(float left, float right, float bottom, float top) {
    const float nearZ = -100.0f;
    const float farZ = 100.0f;
    Mat4 r;
    r.m[0] = 2.0f / (right - left);
    r.m[5] = 2.0f / (top - bottom);
    r.m[10] = -2.0f / (farZ - nearZ);
    r.m[12] = -(right + left) / (right - left);
    r.m[13] = -(top + bottom) / (top - bottom);
    r.m[14] = -(farZ + nearZ) / (farZ - nearZ);
    return r;
}

Mat4 Mat4::LookDirection(const Vec3& forward, const Vec3& up) {
    Vec3 x = Cross(forward, up).GetNormalized();
    Mat4 r;
    r.m[0] = x.x;
    r.m[1] = x.y;
    r.m[2] = x.z;
    r.m[4] = up.x;
    r.m[5] = up.y;
    r.m[6] = up.z;
    r.m[8] = forward.x;
    r.m[9] = forward.y;
    r.m[10] = forward.z;
    return r;
}

Mat4 Mat4::TriangleFrame(const Vec3& p0, const Vec3& p1, const Vec3& p2) {
    Vec3 centre = (p0 + p1 + p2) / 3.0f;
    Vec3 edge = p1 - p0;
    Vec3 z = -Cross(edge, p2 - p0).GetNormalized();
    Vec3 y = Cross(z, edge).GetNormalized();
    Mat4 basis;
    if (z != Vec3(0, 0, 0) && y != Vec3(0, 0, 0)) basis = LookDirection(z, y);
    return Translation(centre) * basis;
}

}  // namespace sm
