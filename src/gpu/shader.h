// A GPU program built from a vertex source (".vpr") and a fragment source (".fpr"). Loading
// compiles and links once; callers that fix attribute locations bind them and link again. The
// shader objects stay attached, so the program can be relinked. Uniform setters look the
// location up by name on every call. Any compile, link or (logged) validation failure is fatal:
// the show never runs with a broken program. Before the fatal report, the debugger output and
// the log file get lines that name the source files (as ContentFileName gives them) with the
// GL log's lines. Destruction releases no GL objects.
#pragma once

#include <string>

#include "math/mat4.h"
#include "math/vec3.h"
#include "math/vec4.h"

class Shader {
public:
    // Compiles and links the pair; fatal on any failure.
    static Shader* LoadShader(const std::string& vertexPath, const std::string& fragmentPath);
    // A compiled shader of the given GL type, or 0 when compilation failed. Each line of the
    // compile log, if any, goes to the debugger output as "<file>: <line>", and to the log file
    // too when compilation failed. An unreadable file is fatal.
    static unsigned CompileShader(unsigned type, const std::string& path);

    // Links again and validates; true when validation succeeded.
    bool Link();
    void BindAttribLocation(unsigned index, const char* name);
    void Use();

    void SetMatrix4(const char* name, const sm::Mat4& matrix);  // fatal when missing
    void SetMatrix4Array(const char* name, int count, const sm::Mat4* matrices);
    void SetFloat(const char* name, float value);
    void SetVec2(const char* name, float x, float y);
    void SetVec3(const char* name, const sm::Vec3& v);
    void SetVec3(const char* name, float x, float y, float z);
    void SetVec4(const char* name, const sm::Vec4& v);
    void SetVec4(const char* name, float x, float y, float z, float w);
    // Binds texture to unit (which stays active) and points the sampler there, if it exists.
    void SetTexture(const char* name, int unit, unsigned texture);

    unsigned GetProgramId() const { return m_programId; }

private:
    unsigned m_programId = 0;
    unsigned m_vertexShaderId = 0;
    unsigned m_fragmentShaderId = 0;
    // "<vertex file> with <fragment file>", for reports.
    std::string m_files;
};
