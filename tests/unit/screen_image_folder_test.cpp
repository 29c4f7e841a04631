// A folder where a screen image should be is reported like a missing file, not passed over.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempDir.h"
#include "assets/Textures.h"

TEST(ScreenImageFolder, IsReportedAsNotOpenedAndGivesNoTexture)
{
    TempDir dir;
    std::filesystem::create_directories(dir.path / "Scene/pause.dds");
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadDDS("Scene/pause.dds"), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Scene/pause.dds could not be opened. Are you in the right directory ? Don't forget to read the FAQ !\n");
}
