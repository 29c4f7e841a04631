// The content generator: the same sources give the same bytes, and a broken level description or a
// missing argument stops it with an error instead of writing a half-made scene.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string generator = std::string(VELLMAR_RUN_DIR) + "/../tools/vellmar_content";

fs::path freshFolder(const std::string& name)
{
    // The process id keeps two test runs on one machine out of each other's folders.
    fs::path p = fs::temp_directory_path() / ("vellmar_content_test_" + name + "_" + std::to_string(getpid()));
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

std::string readAll(const fs::path& p)
{
    std::ifstream file(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

int runGenerator(const std::string& arguments)
{
    int status = std::system((generator + " " + arguments + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs the generator on a level description and reports its exit code.
int generateLevel(const std::string& name, const std::string& description)
{
    fs::path folder = freshFolder(name);
    fs::path level = folder / "level.txt";
    std::ofstream(level) << description;
    return runGenerator((folder / "Scene").string() + " " + level.string());
}

}  // namespace

TEST(ContentGenerator, ASecondRunWritesFilesIdenticalToTheBuiltScene)
{
    // The build's Scene/ is the first run; this is the second.
    ASSERT_TRUE(fs::exists(generator)) << generator;
    fs::path again = freshFolder("again");
    ASSERT_EQ(runGenerator(again.string()), 0);
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator("Scene")) {
        SCOPED_TRACE(entry.path().filename().string());
        fs::path twin = again / entry.path().filename();
        ASSERT_TRUE(fs::exists(twin));
        EXPECT_TRUE(readAll(entry.path()) == readAll(twin));
        ++files;
    }
    EXPECT_EQ(files, static_cast<size_t>(std::distance(fs::directory_iterator(again), fs::directory_iterator())));
    EXPECT_GE(files, 7u * 2 + 11);
    fs::remove_all(again);
}

TEST(ContentGenerator, RejectsBadLevelDescriptionsAndArguments)
{
    EXPECT_NE(runGenerator(""), 0);
    EXPECT_NE(runGenerator("a b c"), 0);
    EXPECT_NE(generateLevel("empty", ""), 0);
    EXPECT_NE(runGenerator(freshFolder("missing").string() + " /nonexistent/level.txt"), 0);
    EXPECT_NE(generateLevel("fields", "floor floor 0 -1 0 10 0\n"), 0);
    EXPECT_NE(generateLevel("extra", "floor floor 0 -1 0 10 0 10 7\n"), 0);
    EXPECT_NE(generateLevel("number", "floor floor 0 -1 zero 10 0 10\n"), 0);
    EXPECT_NE(generateLevel("material", "floor marble 0 -1 0 10 0 10\n"), 0);
    EXPECT_NE(generateLevel("flat", "floor floor 0 0 0 10 0 10\n"), 0);
    EXPECT_NE(generateLevel("inverted", "floor floor 10 -1 0 0 0 10\n"), 0);
    fs::path unwritable = freshFolder("file");
    std::ofstream(unwritable / "plain") << "x";
    EXPECT_NE(runGenerator((unwritable / "plain" / "Scene").string()), 0);
}
