#include "assets/ShaderProgram.h"

#include <exception>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/Console.h"

ShaderProgram* mainProgram = nullptr;
ShaderProgram* textProgram = nullptr;
ShaderProgram* depthProgram = nullptr;

namespace {

// The driver's log with its own line breaks; the buffer is exactly as long as the driver says.
std::string fetchLog(GLuint object, bool isProgram)
{
    GLint length = 0;
    if (isProgram)
        glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length);
    else
        glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
    if (length <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(length), '\0');
    if (isProgram)
        glGetProgramInfoLog(object, length, nullptr, buffer.data());
    else
        glGetShaderInfoLog(object, length, nullptr, buffer.data());
    return std::string(buffer.data());
}

}  // namespace

ShaderProgram::ShaderProgram(const std::string& vertexPath, const std::string& fragmentPath)
    : ShaderProgram(vertexPath, fragmentPath, std::string())
{
}

ShaderProgram::ShaderProgram(const std::string& vertexPath, const std::string& fragmentPath,
                             const std::string& fragmentDefinitions)
{
    program = glCreateProgram();
    if (program == 0)
        fatalError("could not retrieve program handle!");
    compileShader(vertexPath, GL_VERTEX_SHADER, vertexShader);
    compileShader(fragmentPath, GL_FRAGMENT_SHADER, fragmentShader, fragmentDefinitions);
    link();
}

ShaderProgram::~ShaderProgram()
{
    glDeleteProgram(program);
    glDeleteShader(vertexShader);
    glDeleteShader(fragmentShader);
}

void ShaderProgram::compileShader(const std::string& path, GLenum shaderType, GLuint& handle,
                                  const std::string& definitions)
{
    std::ifstream file(path);
    if (!file.good())
        fatalError("Failed to open shader file: " + path);
    std::string text;
    try {
        text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    } catch (const std::exception&) {
        // A folder opens like a file but cannot be read: to the player it is a source that could not be opened.
        fatalError("Failed to open shader file: " + path);
    }
    file.close();
    if (!definitions.empty()) {
        // After the #version line, which must come first; the line numbers in a log then count the
        // definitions too.
        const size_t lineEnd = text.find('\n');
        text.insert(lineEnd == std::string::npos ? text.size() : lineEnd + 1,
                    lineEnd == std::string::npos ? "\n" + definitions : definitions);
    }

    handle = glCreateShader(shaderType);
    if (handle == 0)
        fatalError("Failed to create shader" + path);
    const GLchar* source = text.c_str();
    glShaderSource(handle, 1, &source, nullptr);
    glCompileShader(handle);

    GLint status = GL_FALSE;
    glGetShaderiv(handle, GL_COMPILE_STATUS, &status);
    if (status == GL_FALSE || glIsShader(handle) == GL_FALSE)
        fatalError("Failed to compile shader" + path, fetchLog(handle, false).c_str());
}

void ShaderProgram::link()
{
    glAttachShader(program, vertexShader);
    glAttachShader(program, fragmentShader);
    glBindFragDataLocation(program, 0, "fragColor");
    glLinkProgram(program);

    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    if (status == GL_FALSE)
        fatalError("Failed to link shader program", fetchLog(program, true).c_str());
}
