#pragma once
// A game window with a fresh model loader in a throw-away folder whose Scene/ the tests fill.
#include <GL/glew.h>

#include <cstdint>
#include <string>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_precision.hpp>

#include "TempDir.h"
#include "GameHarness.h"
#include "assets/Mesh.h"
#include "assets/SceneLoader.h"
#include "core/BoundingBox.h"

class SceneTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        if (IsSkipped())
            return;
        loader = new sceneLoader();
        loader->frustumPlanes = frustumPlanes;
    }
    void TearDown() override
    {
        delete loader;
        loader = nullptr;
    }

    // A 2×2 uncompressed true-colour TGA of one colour.
    void writeImage(const std::string& name, std::uint8_t r, std::uint8_t g, std::uint8_t b) const
    {
        std::string tga(18, '\0');
        tga[2] = 2;
        tga[12] = 2;
        tga[14] = 2;
        tga[16] = 32;
        tga[17] = 8;
        for (int i = 0; i < 4; ++i)
            tga += std::string{static_cast<char>(b), static_cast<char>(g), static_cast<char>(r), '\xff'};
        folder.write(name, tga);
    }

    static glm::u8vec4 colourOf(GLuint texture)
    {
        std::uint8_t pixels[16] = {};
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
        glBindTexture(GL_TEXTURE_2D, 0);
        return {pixels[0], pixels[1], pixels[2], pixels[3]};
    }

    static glm::mat4 at(float x, float y, float z) { return glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z)); }

    // A closed box as a Wavefront model without materials.
    static std::string boxModel(float x0, float y0, float z0, float x1, float y1, float z1)
    {
        std::string obj;
        for (int i = 0; i < 8; ++i) {
            obj += "v " + std::to_string(i & 1 ? x1 : x0) + " " + std::to_string(i & 2 ? y1 : y0) + " " +
                   std::to_string(i & 4 ? z1 : z0) + "\n";
        }
        obj += "f 1 3 4 2\nf 5 6 8 7\nf 1 2 6 5\nf 3 7 8 4\nf 1 5 7 3\nf 2 4 8 6\n";
        return obj;
    }

    TempDir folder;
};
