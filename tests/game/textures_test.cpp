// The texture loaders against the real driver: DDS levels as uploaded, rejected and hostile DDS
// files, the console line for a missing one, and image files through DevIL.
#include "assets/Textures.h"

#include <IL/il.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include <gmock/gmock.h>

#include "DdsBytes.h"
#include "TempDir.h"
#include "GameHarness.h"

using testing::HasSubstr;

namespace {

GLint levelParameter(GLint level, GLenum name)
{
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

GLint textureParameter(GLenum name)
{
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

// Standard input is closed in these tests, as under CI: the loader's wait returns at once.
void closeInput()
{
    if (!std::freopen("/dev/null", "r", stdin))
        std::abort();
}

// A picture written by DevIL itself, as an RGB file, so the loader has to convert it.
void writeImage(const char* path, ILubyte* rgb, ILuint width, ILuint height)
{
    ilInit();
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ASSERT_TRUE(ilTexImage(width, height, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, rgb));
    ilEnable(IL_FILE_OVERWRITE);
    ASSERT_TRUE(ilSaveImage(path));
    ilDeleteImages(1, &image);
}

void loadToStderr(const char* path)
{
    std::fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    closeInput();
    loadImageTexture(path);
    std::exit(0);
}

}  // namespace

class Textures : public GameTest {
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        GameTest::SetUp();
        closeInput();
    }
};

TEST_F(Textures, DdsChainIsUploadedLevelByLevelOnUnitZero)
{
    TempDir dir;
    dir.write("chain.dds", ddsbytes::header(256, 64, 16384, 9, "DXT5") + std::string(32768, '\x55'));
    glActiveTexture(GL_TEXTURE3);
    GLuint texture = loadDDS("chain.dds");
    ASSERT_NE(texture, 0u);
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE0);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 1);

    const GLint sizes[] = {16384, 4096, 1024, 256, 64, 32, 16, 16, 16};
    for (GLint level = 0; level < 9; ++level) {
        EXPECT_EQ(levelParameter(level, GL_TEXTURE_COMPRESSED_IMAGE_SIZE), sizes[level]) << level;
        EXPECT_EQ(levelParameter(level, GL_TEXTURE_INTERNAL_FORMAT), GL_COMPRESSED_RGBA_S3TC_DXT5_EXT);
    }
    EXPECT_EQ(levelParameter(8, GL_TEXTURE_WIDTH), 1);
    EXPECT_EQ(levelParameter(9, GL_TEXTURE_WIDTH), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    dir.write("dxt1.dds", ddsbytes::dxt1Picture(8, [](double, double) { return ddsbytes::Rgb{31, 0, 0}; }));
    GLuint dxt1 = loadDDS("dxt1.dds");
    EXPECT_NE(dxt1, texture);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), GL_COMPRESSED_RGBA_S3TC_DXT1_EXT)
        << "DXT1 takes the variant with one-bit alpha";
}

TEST_F(Textures, DdsFilesUploadOnlyWhatTheyHoldAndOnlyAMissingOneIsReported)
{
    TempDir dir;
    std::string good = ddsbytes::header(4, 4, 8, 1) + std::string(8, 0);
    std::string noSpace = good;
    noSpace[3] = '_';
    dir.write("nospace.dds", noSpace);
    dir.write("ati2.dds", ddsbytes::header(4, 4, 8, 1, "ATI2") + std::string(8, 0));
    dir.write("short.dds", good.substr(0, 100));
    dir.write("empty.dds", "");
    dir.write("nolevels.dds", ddsbytes::header(64, 64, 2048, 0) + std::string(2048, 0));
    dir.write("cut.dds", ddsbytes::header(64, 64, 2048, 7) + std::string(2048 + 300, 0));
    testing::internal::CaptureStdout();
    for (const char* path : {"nospace.dds", "ati2.dds", "short.dds", "empty.dds"})
        EXPECT_EQ(loadDDS(path), 0u) << path;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "rejections are silent";

    // A usable header without levels gives a texture name without data.
    GLuint texture = loadDDS("nolevels.dds");
    ASSERT_NE(texture, 0u);
    EXPECT_TRUE(glIsTexture(texture));
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 0);
    // Cut short: only the levels wholly inside the file are uploaded.
    ASSERT_NE(loadDDS("cut.dds"), 0u);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_COMPRESSED_IMAGE_SIZE), 2048);
    EXPECT_EQ(levelParameter(1, GL_TEXTURE_WIDTH), 0);

    testing::internal::CaptureStdout();
    EXPECT_EQ(loadDDS("Scene/nothing.dds"), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Scene/nothing.dds could not be opened. Are you in the right directory ? Don't forget to read the FAQ !\n");
}

TEST_F(Textures, ImageFileLoadsAsRgbaWithLinearFilters)
{
    TempDir dir;
    ILubyte pixels[] = {255, 0, 0, 0, 0, 255};
    writeImage("two.png", pixels, 2, 1);
    glActiveTexture(GL_TEXTURE2);
    GLuint texture = loadImageTexture("two.png");
    ASSERT_NE(texture, 0u);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture) << "left bound on the active unit";
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 2);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_HEIGHT), 1);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
    EXPECT_EQ(textureParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    unsigned char texels[8] = {};
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    EXPECT_THAT(texels, testing::ElementsAre(255, 0, 0, 255, 0, 0, 255, 255));

    EXPECT_NE(loadImageTexture("two.png"), texture) << "each load is a texture of its own";
}

TEST_F(Textures, UnloadableImagesEndTheGameWithoutWaiting)
{
    TempDir dir;
    dir.write("corrupt.png", "\x89PNG\r\n\x1a\n this is no picture");
    const auto loadFailed = testing::AllOf(testing::ContainsRegex("Image load failed - IL reports error: [0-9]+ - ."),
                                           testing::Not(HasSubstr("Press Enter")));
    EXPECT_EXIT(loadToStderr("missing.png"), testing::ExitedWithCode(255), loadFailed);
    EXPECT_EXIT(loadToStderr("corrupt.png"), testing::ExitedWithCode(255), loadFailed);
    // An empty material texture name makes the model import ask for the folder itself.
    EXPECT_EXIT(loadToStderr("Scene/"), testing::ExitedWithCode(255), loadFailed);
}
