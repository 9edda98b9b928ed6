// A process-wide queue of debug line segments, drawn from client memory and emptied by Flush once
// a frame with the "VectorGraphics" program and the frame's matrix. Flush sets its own render
// state, segments or not, and restores none of it.
#pragma once

#include <cstddef>

#include "math/mat4.h"
#include "math/vec3.h"

class Shader;

struct SegmentItem {
    sm::Vec3 start;
    sm::Vec3 end;
    sm::Vec3 color;
};

class GraphicsLog {
public:
    // The program is not owned; it must stay alive while segments are flushed.
    static void SetShader(Shader* shader);
    static Shader* GetShader();
    static void SetMatrix(const sm::Mat4& matrix);

    static void AddSegment(const sm::Vec3& start, const sm::Vec3& end, const sm::Vec3& color);
    static size_t GetSegmentCount();

    // Depth writes on, blending and depth test off, attribute array 0 enabled and 1 to 6
    // disabled; uses the program with "u_mvp" = the matrix; draws each segment as one line in
    // its colour ("u_color", a vec3; points on attribute 0); disables array 0 and empties the
    // queue. Needs a program (fails "shader != nullptr" otherwise); leaves GL_ARRAY_BUFFER unbound.
    static void Flush();
};
