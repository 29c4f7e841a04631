// Texture file names from material files become paths under Scene/.
#include "assets/SceneLoader.h"

#include <gtest/gtest.h>

#include <string>

TEST(SceneTexturePath, NamesAreAppendedAsStoredUpToTheLongestPathAssimpHolds)
{
    EXPECT_EQ(sceneTexturePath("skin.png"), "Scene/skin.png");
    EXPECT_EQ(sceneTexturePath("maps\\skin.png"), "Scene/maps\\skin.png") << "separators are kept";
    EXPECT_EQ(sceneTexturePath("../skin.png"), "Scene/../skin.png") << "folder parts are kept";
    EXPECT_EQ(sceneTexturePath(""), "Scene/");
    std::string longest(1023 - std::string("Scene/").size(), 'a');
    EXPECT_EQ(sceneTexturePath(longest), "Scene/" + longest) << "a path of 1023 characters is built";
    EXPECT_EQ(sceneTexturePath(longest + "a"), "Scene/") << "one of 1024 is not";
}
