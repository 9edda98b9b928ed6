// The shared billboard vertex buffer: a unit square centred on the origin, four 2D float
// vertices in triangle-strip order. The controller creates it once at start-up and releases it
// at shutdown, before the context goes. No pass draws with it; it is process-wide state.
#pragma once

class Billboard {
public:
    // Creates and fills the buffer and leaves GL_ARRAY_BUFFER unbound; true. Fails
    // "m_vboId == 0" while a buffer exists.
    static bool CreateBuffer();
    // Deletes the buffer, if there is one; repeating it does nothing.
    static void ReleaseBuffer();
    // The buffer's GL name, 0 when none exists.
    static unsigned GetBufferId() { return m_vboId; }

private:
    static unsigned m_vboId;
};
