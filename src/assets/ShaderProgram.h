#pragma once
// One linked OpenGL program from a vertex and a fragment source file. Building is all or nothing:
// any failure is reported on the console and ends the game.
#include <GL/glew.h>

#include <string>

class ShaderProgram {
public:
    ShaderProgram(const std::string& vertexPath, const std::string& fragmentPath);
    // The same, with definitions (preprocessor lines) put into the fragment source right after its
    // #version line: one source linked again for a special case.
    ShaderProgram(const std::string& vertexPath, const std::string& fragmentPath, const std::string& fragmentDefinitions);
    // Deletes the program, then the vertex and the fragment shader.
    ~ShaderProgram();
    ShaderProgram(const ShaderProgram&) = delete;
    ShaderProgram& operator=(const ShaderProgram&) = delete;

    // Reads and compiles one source into handle (one of the two shader fields), with definitions
    // after its first line when there are any.
    void compileShader(const std::string& path, GLenum shaderType, GLuint& handle,
                       const std::string& definitions = std::string());
    // Attaches both shaders, sends "fragColor" to colour number 0 and links.
    void link();

    GLuint program = 0;
    GLuint vertexShader = 0;
    GLuint fragmentShader = 0;
};

// The game's three programs, made by the world assembly: the lit pass, the overlay (images and
// text) and the shadow pass.
extern ShaderProgram* mainProgram;
extern ShaderProgram* textProgram;
extern ShaderProgram* depthProgram;
