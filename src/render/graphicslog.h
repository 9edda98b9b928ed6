// A process-wide queue of debug line segments, drawn and emptied by Flush once per frame with
// the "VectorGraphics" program ("u_mvp", "u_color" as a vec3; attribute 0 "a_position") and the
// matrix set for the frame. Flush sets its own render state and restores none of it, whether or
// not there are segments. Segments are drawn from client memory; no buffer is kept.
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
    // its colour; disables array 0 and empties the queue. Needs a program (fails
    // "shader != nullptr" otherwise) and leaves GL_ARRAY_BUFFER unbound.
    static void Flush();
};
