// Textured rectangles in window pixels, drawn from client memory with the two-attribute sprite
// program. Draws go between Begin and End, which turn depth testing off and blending on and then
// hand both switches back as they were; nothing else is restored and no vertex buffer is kept.
#pragma once

#include "math/mat4.h"

class Shader;
class Texture;

class SpriteBatch {
public:
    // Binds the attribute locations on the program and relinks it. The program is not owned
    // and must outlive the batch; a null one fails "m_shader != NULL".
    SpriteBatch(Shader* shader, const sm::Mat4& projection);

    // Uses the program with "u_mvp" = the projection (fails "uniformParam != -1" without it),
    // sets the blend factors to source alpha / one minus source alpha, records and changes the
    // depth-test and blending switches, and enables attribute arrays 0 and 1 only (of 0 to 5).
    void Begin();
    // One rectangle from (x, y) to (x + width, y + height) showing the whole texture; the
    // texture's top row (v = 1) lands at y + height. Selects texture unit 0 and unbinds
    // GL_ARRAY_BUFFER, since the vertices come from client memory.
    void DrawSprite(const Texture* texture, int x, int y, int width, int height);
    // Sets depth testing and blending to what they were at Begin; disables arrays 0 and 1.
    void End();

private:
    Shader* m_shader;
    sm::Mat4 m_projection;
    bool m_depthTestWasOn = false;
    bool m_blendWasOn = false;
};
