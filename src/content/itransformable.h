// ITransformable, what the animation system binds its nodes to: anything with a node id and
// writable transforms (model meshes, animated cameras). Users find the animation node by GetId
// and write the node's matrices through the returned pointers, which stay valid as long as the
// object lives. It carries no behaviour of its own.
#pragma once

#include "math/mat4.h"

class ITransformable {
public:
    virtual ~ITransformable() = default;

    // True for an animated camera, false for a mesh.
    virtual bool IsCamera() const = 0;
    // The id of the animation node that drives this object.
    virtual int GetId() const = 0;
    // The object's own transform.
    virtual sm::Mat4* GetTransform() = 0;
    // A second transform kept beside the first.
    virtual sm::Mat4* GetTransform2() = 0;
    // The transform of whatever holds the object (a mesh's model).
    virtual sm::Mat4* GetParentTransform() = 0;
};
