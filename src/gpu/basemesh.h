// The root of the GPU mesh family: geometry in GL buffers, drawn as an indexed triangle list
// whose index buffer counts 0, 1, 2, ... Draw refreshes the dynamic per-vertex data, binds the
// buffers, sets the attribute pointers and draws; the attribute arrays themselves are enabled
// and disabled by the material that draws the mesh. Needs the GL context current.
#pragma once

class BaseMesh {
public:
    virtual ~BaseMesh() = default;
    virtual void Draw() = 0;
};
