#include "gpu/shader.h"

#include <GL/glew.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <vector>

#include "base/assert.h"
#include "base/log.h"
#include "content/fileutils.h"
#include "platform/debugoutput.h"
#include "platform/filesystem.h"

namespace {

// A line about a shader's files: to the debugger output, where the GL logs go, and to the log
// file, so that log.txt names the file at fault too.
void Report(const std::string& line) {
    PlatformDebugOutput((line + "\n").c_str());
    LogToFileOnly(line.c_str());
}

// Each non-empty line of a GL log, after prefix.
void ReportLog(const std::string& prefix, const std::string& log, bool toFile) {
    size_t from = 0;
    while (from < log.size()) {
        size_t end = log.find('\n', from);
        if (end == std::string::npos) end = log.size();
        const std::string line = log.substr(from, end - from);
        if (!line.empty() && line != "\r") {
            if (toFile)
                Report(prefix + line);
            else
                PlatformDebugOutput((prefix + line + "\n").c_str());
        }
        from = end + 1;
    }
}

std::string ShaderLog(GLuint shader) {
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    if (length <= 0) return std::string();
    std::vector<char> log(static_cast<size_t>(length) + 1, '\0');
    glGetShaderInfoLog(shader, length, nullptr, log.data());
    return log.data();
}

std::string ProgramLog(GLuint program) {
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    if (length <= 0) return std::string();
    std::vector<char> log(static_cast<size_t>(length) + 1, '\0');
    glGetProgramInfoLog(program, length, nullptr, log.data());
    return log.data();
}

}  // namespace

unsigned Shader::CompileShader(unsigned type, const std::string& path) {
    std::ifstream in(PlatformResolvePath(path), std::ios::binary);
    if (!in) {
        Report(ContentFileName(path) + ": can't open the shader source");
        ASSERT(false);
    }
    in.seekg(0, std::ios::end);
    std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    std::vector<char> source(static_cast<size_t>(size > 0 ? size : 0) + 1, '\0');
    if (size > 0) in.read(source.data(), size);
    in.close();

    GLuint shader = glCreateShader(type);
    const GLchar* text = source.data();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    // Every line of the log names the file; a failed compile's lines reach the log file too.
    GLint status = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    ReportLog(ContentFileName(path) + ": ", ShaderLog(shader), status != GL_TRUE);
    if (status != GL_TRUE) {
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

Shader* Shader::LoadShader(const std::string& vertexPath, const std::string& fragmentPath) {
    // Owned here until it links: a fatal report that unwinds (tools, tests) frees it.
    std::unique_ptr<Shader> shader(new Shader);
    shader->m_files = ContentFileName(vertexPath) + " with " + ContentFileName(fragmentPath);
    shader->m_vertexShaderId = CompileShader(GL_VERTEX_SHADER, vertexPath);
    if (shader->m_vertexShaderId == 0) {
        Report("couldn't compile " + ContentFileName(vertexPath));
        ASSERT(false);
    }
    shader->m_fragmentShaderId = CompileShader(GL_FRAGMENT_SHADER, fragmentPath);
    if (shader->m_fragmentShaderId == 0) {
        Report("couldn't compile " + ContentFileName(fragmentPath));
        ASSERT(false);
    }
    shader->m_programId = glCreateProgram();
    glAttachShader(shader->m_programId, shader->m_vertexShaderId);
    glAttachShader(shader->m_programId, shader->m_fragmentShaderId);
    shader->Link();
    return shader.release();
}

bool Shader::Link() {
    glLinkProgram(m_programId);
    std::string log = ProgramLog(m_programId);
    if (!log.empty()) {
        std::printf("Program link log:\n%s", log.c_str());
        std::fflush(stdout);
    }
    GLint status = GL_FALSE;
    glGetProgramiv(m_programId, GL_LINK_STATUS, &status);
    if (status != GL_TRUE) {
        Report("couldn't link " + m_files);
        ReportLog(m_files + ": ", log, true);
        ASSERT(false);
    }
    glValidateProgram(m_programId);
    GLint valid = GL_FALSE;
    glGetProgramiv(m_programId, GL_VALIDATE_STATUS, &valid);
    if (valid != GL_TRUE) {
        std::string validateLog = ProgramLog(m_programId);
        if (!validateLog.empty()) {
            std::printf("validate log: %s\n", validateLog.c_str());
            std::fflush(stdout);
            Report("couldn't validate " + m_files);
            ReportLog(m_files + ": ", validateLog, true);
            ASSERT(false);
        }
    }
    return valid == GL_TRUE;
}

void Shader::BindAttribLocation(unsigned index, const char* name) {
    glBindAttribLocation(m_programId, index, name);
}

void Shader::Use() { glUseProgram(m_programId); }

void Shader::SetMatrix4(const char* name, const sm::Mat4& matrix) {
    GLint uniformParam = glGetUniformLocation(m_programId, name);
    ASSERT(uniformParam != -1);
    glUniformMatrix4fv(uniformParam, 1, GL_FALSE, matrix.m);
}

void Shader::SetMatrix4Array(const char* name, int count, const sm::Mat4* matrices) {
    GLint location = glGetUniformLocation(m_programId, name);
    if (location == -1) return;
    glUniformMatrix4fv(location, count, GL_FALSE, matrices[0].m);
}

void Shader::SetFloat(const char* name, float value) {
    glUniform1f(glGetUniformLocation(m_programId, name), value);
}

void Shader::SetVec2(const char* name, float x, float y) {
    GLint location = glGetUniformLocation(m_programId, name);
    if (location == -1) return;
    glUniform2f(location, x, y);
}

void Shader::SetVec3(const char* name, const sm::Vec3& v) { SetVec3(name, v.x, v.y, v.z); }

void Shader::SetVec3(const char* name, float x, float y, float z) {
    glUniform3f(glGetUniformLocation(m_programId, name), x, y, z);
}

void Shader::SetVec4(const char* name, const sm::Vec4& v) { SetVec4(name, v.x, v.y, v.z, v.w); }

void Shader::SetVec4(const char* name, float x, float y, float z, float w) {
    glUniform4f(glGetUniformLocation(m_programId, name), x, y, z, w);
}

void Shader::SetTexture(const char* name, int unit, unsigned texture) {
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint location = glGetUniformLocation(m_programId, name);
    if (location != -1) glUniform1i(location, unit);
}
