#include "render/graphicslog.h"

#include <GL/glew.h>

#include <vector>

#include "base/assert.h"
#include "gpu/shader.h"

namespace {

struct GraphicsLogState {
    std::vector<SegmentItem> segments;
    Shader* shader = nullptr;
    sm::Mat4 matrix;
};

GraphicsLogState& State() {
    static GraphicsLogState state;
    return state;
}

}  // namespace

void GraphicsLog::SetShader(Shader* shader) { State().shader = shader; }

Shader* GraphicsLog::GetShader() { return State().shader; }

void GraphicsLog::SetMatrix(const sm::Mat4& matrix) { State().matrix = matrix; }

void GraphicsLog::AddSegment(const sm::Vec3& start, const sm::Vec3& end, const sm::Vec3& color) {
    State().segments.push_back(SegmentItem{start, end, color});
}

size_t GraphicsLog::GetSegmentCount() { return State().segments.size(); }

void GraphicsLog::Flush() {
    GraphicsLogState& state = State();
    Shader* shader = state.shader;
    ASSERT(shader != nullptr);

    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glEnableVertexAttribArray(0);
    for (GLuint i = 1; i <= 6; ++i) glDisableVertexAttribArray(i);

    shader->Use();
    shader->SetMatrix4("u_mvp", state.matrix);
    // The points come from client memory; a bound buffer would turn the pointer into an offset.
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    for (const SegmentItem& segment : state.segments) {
        const GLfloat points[6] = {segment.start.x, segment.start.y, segment.start.z,
                                   segment.end.x,   segment.end.y,   segment.end.z};
        shader->SetVec3("u_color", segment.color);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, points);
        glDrawArrays(GL_LINES, 0, 2);
    }
    glDisableVertexAttribArray(0);
    state.segments.clear();
}
