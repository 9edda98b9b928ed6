// The full-viewport quad of the post-processing passes: four 2D corners in one static vertex
// buffer, drawn as a triangle strip from attribute 0. Draw sets only the buffer and the pointer
// of attribute 0; enabling the array is the caller's. Destruction deletes the buffer. Needs
// the GL context current.
#pragma once

class Quad {
public:
    Quad() = default;
    ~Quad();
    Quad(const Quad&) = delete;
    Quad& operator=(const Quad&) = delete;

    // Uploads (-1, 1), (-1, -1), (1, 1), (1, -1). Fatal "m_vboId == 0" when already created.
    // Always true.
    bool Create();
    void Draw();

    unsigned GetVboId() const { return m_vboId; }

private:
    unsigned m_vboId = 0;
};
