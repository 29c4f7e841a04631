// The texture loaders against the real driver: DDS levels as uploaded, image files through DevIL.
#include "assets/Textures.h"

#include <IL/il.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include <gmock/gmock.h>

#include "DdsBytes.h"
#include "TempDir.h"
#include "GameHarness.h"

namespace {

GLint levelParameter(GLint level, GLenum name)
{
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

GLint immutable()
{
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_IMMUTABLE_FORMAT, &value);
    return value;
}

GLint bound(GLenum what)
{
    GLint value = -1;
    glGetIntegerv(what, &value);
    return value;
}

}  // namespace

class Textures : public GameTest {
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        GameTest::SetUp();
        // Standard input closed, as under CI: the loader's wait returns at once.
        if (!std::freopen("/dev/null", "r", stdin))
            std::abort();
    }
    TempDir dir;
};

TEST_F(Textures, DdsChainIsUploadedLevelByLevelOnUnitZero)
{
    dir.write("chain.dds", ddsbytes::header(256, 64, 16384, 9, "DXT5") + std::string(32768, '\x55'));
    glActiveTexture(GL_TEXTURE3);
    GLuint texture = loadDDS("chain.dds");
    ASSERT_NE(texture, 0u);
    EXPECT_EQ(bound(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(bound(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture));
    const GLint sizes[] = {16384, 4096, 1024, 256, 64, 32, 16, 16, 16};
    for (GLint level = 0; level < 9; ++level) {
        EXPECT_EQ(levelParameter(level, GL_TEXTURE_COMPRESSED_IMAGE_SIZE), sizes[level]) << level;
        EXPECT_EQ(levelParameter(level, GL_TEXTURE_INTERNAL_FORMAT), GL_COMPRESSED_RGBA_S3TC_DXT5_EXT);
    }
    EXPECT_EQ(levelParameter(9, GL_TEXTURE_WIDTH), 0);
    EXPECT_EQ(immutable(), GL_TRUE) << "a whole chain is laid out at once";

    dir.write("dxt1.dds", ddsbytes::dxt1Picture(8, [](double, double) { return ddsbytes::Rgb{31, 0, 0}; }));
    EXPECT_NE(loadDDS("dxt1.dds"), 0u);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), GL_COMPRESSED_RGBA_S3TC_DXT1_EXT)
        << "DXT1 takes the variant with one-bit alpha";
    // Cut short, or one level without a count: the levels wholly inside the file are uploaded, and
    // the texture ends at the last of them with a filter that needs no others, so it is complete.
    const std::string chain = ddsbytes::header(64, 64, 2048, 7) + std::string(2048 + 512 + 100, 0);
    const struct { std::string file; GLint levels, filter, lastSize; } partial[] = {
        {chain.substr(0, 128 + 2048 + 300), 1, GL_LINEAR, 2048}, {chain, 2, GL_NEAREST_MIPMAP_LINEAR, 512},
        {ddsbytes::header(64, 64, 2048, 0, "DXT1", ddsbytes::withoutLevelCount) + chain.substr(128, 2048), 1, GL_LINEAR,
         2048},
        // 16 x 4 cut after its 4 x 1 level: one side is down to 1, the other is not.
        {ddsbytes::header(16, 4, 32, 5) + std::string(32 + 16 + 8 + 4, 0), 3, GL_NEAREST_MIPMAP_LINEAR, 8}};
    for (const auto& [file, levels, filter, lastSize] : partial) {
        dir.write("cut.dds", file);
        ASSERT_NE(loadDDS("cut.dds"), 0u);
        EXPECT_EQ(levelParameter(levels - 1, GL_TEXTURE_COMPRESSED_IMAGE_SIZE), lastSize);
        EXPECT_EQ(levelParameter(levels, GL_TEXTURE_WIDTH), 0);
        GLint maxLevel = -1, minFilter = -1;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, &maxLevel);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        EXPECT_EQ(maxLevel * 0x10000 + minFilter, (levels - 1) * 0x10000 + filter) << levels;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    // A refused file is named with its reason, and gives no texture.
    dir.write("bc7.dds", ddsbytes::header(4, 4, 16, 1, "DX10") + std::string(16, 0));
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadDDS("bc7.dds"), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "bc7.dds: the format \"DX10\" cannot be read (only DXT1, DXT3 and DXT5)\n");
}

TEST_F(Textures, ImageFileLoadsAsRgbaAndAFolderEndsTheGameWithTheLoadFailedLine)
{
    // An RGB picture: the loader has to convert it.
    ILubyte rgb[] = {255, 0, 0, 0, 0, 255};
    ilInit();
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ASSERT_TRUE(ilTexImage(2, 1, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, rgb));
    ilEnable(IL_FILE_OVERWRITE);
    ASSERT_TRUE(ilSaveImage("two.png"));
    glActiveTexture(GL_TEXTURE2);
    GLuint texture = loadImageTexture("two.png");
    EXPECT_EQ(bound(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture)) << "left bound on the active unit";
    unsigned char texels[8] = {};
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    EXPECT_THAT(texels, testing::ElementsAre(255, 0, 0, 255, 0, 0, 255, 255));

    // An empty material texture name makes the model import ask for the folder itself.
    EXPECT_EXIT((std::fflush(stdout), dup2(STDERR_FILENO, STDOUT_FILENO), loadImageTexture("Scene/"), std::exit(0)),
                testing::ExitedWithCode(255),
                testing::AllOf(testing::ContainsRegex("Scene/: pictures of this kind are not read .*\n"
                                                      "Image load failed - IL reports error: [0-9]+ - ."),
                               testing::Not(testing::HasSubstr("Press Enter"))));
}
