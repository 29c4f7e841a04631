// Model, texture and screen image files: what would crash Assimp or fool DevIL is refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include "TempDir.h"
#include "assets/ImageFile.h"
#include "assets/ModelImport.h"
#include "assets/Textures.h"

namespace {

const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nusemtl stone\nf 1/1 2/1 3/1\n";
const std::string settingFirst = "Kd 1 1 1\nmap_Kd stone.tga\nnewmtl stone\n", material = "Kd 0.5 0.25 1\nmap_Kd stone.tga\n";

// A Targa header: image kind, size, bits per pixel, an optional colour map and the descriptor
// (0x20: the top row first).
std::string header(int kind, int width, int height, int depth, int mapLength = 0, int mapBits = 24, int descriptor = 0)
{
    std::string bytes(18, '\0');
    const int fields[][2] = {{1, mapLength ? 1 : 0}, {2, kind}, {5, mapLength}, {7, mapLength ? mapBits : 0},
                             {12, width}, {14, height}, {16, depth}};
    for (const auto& [at, value] : fields)
        bytes[at] = static_cast<char>(value & 0xFF), bytes[at + 1] = at == 16 ? 0 : static_cast<char>(value >> 8);
    bytes[17] = static_cast<char>(descriptor);
    return bytes;
}

std::string png(unsigned width, unsigned height)
{
    std::string ihdr("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (unsigned side : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            ihdr += static_cast<char>(side >> shift);
    return ihdr + std::string("\x08\x06\0\0\0\0\0\0\0", 9);
}

}  // namespace

TEST(ModelImport, LibrariesSettingAnythingBeforeTheirFirstMaterialAreRefusedWhateverTheirName)
{
    const struct {
        std::string text;
        bool accepted;
        const char* mtllib = "model.mtl";  // what the model names
        const char* file = "model.mtl";    // the file written beside the model
    } cases[] = {
        {"# comment\n\nnewmtl stone\n" + material, true}, {"", true},
        {" Kd 1 0 0\nnewmtl stone\n" + material, true},  // Assimp skips a line opening with a blank
        {settingFirst, false}, {"#\n   d 1\nnewmtl stone\n", false}, {"# a\rillum 2\nnewmtl stone\n", false},
        {std::string("# a") + '\0' + "Ns 1\nnewmtl stone\n", false}, {"newmt a\nKd 1 0 0\nnewmtl stone\n", false},
        {settingFirst, false, "stone.txt", "stone.txt"}, {settingFirst, false, "model.MTL", "model.MTL"},
        {settingFirst, false, "lib/stone", "lib/stone"}, {settingFirst, false, "missing.txt"},  // read: model.mtl
        {"newmtl stone\n" + material, true, "lib/stone", "lib/stone"},
        {"", false, "model.obj"},  // the model as its own library, preceded by settings
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string model = std::string(c.mtllib) == "model.obj" ? settingFirst : "";
        dir.write("Scene/model.obj", "mtllib " + std::string(c.mtllib) + "\n" + model + triangle);
        dir.write(std::string("Scene/") + c.file, c.text);
        Assimp::Importer importer;
        const aiScene* scene = importModel(importer, "Scene/model.obj");
        ASSERT_EQ(scene != nullptr, c.accepted) << c.mtllib << ": " << c.text;
        if (scene != nullptr && !c.text.empty()) {  // the library was read: its texture, its colour on the mesh
            const MeshData data = extractMesh(scene->mMeshes[0], scene);
            EXPECT_EQ(data.diffuseTexturePaths, (std::vector<std::string>{"Scene/stone.tga"})) << c.mtllib;
            EXPECT_EQ(data.vertices[0].color, glm::vec3(0.5f, 0.25f, 1.0f)) << c.mtllib;
        }
    }
    std::string longest(1023 - std::string("Scene/").size(), 'a');
    EXPECT_EQ(sceneTexturePath(longest), "Scene/" + longest);
    EXPECT_EQ(sceneTexturePath(longest + "a"), "Scene/") << "a path of 1024 characters is not built";
}

// What yields no triangle or would reach another importer is refused with a reason; lines and points
// are left out; backslashes in texture names separate folders, and no name leads out of Scene/.
TEST(ModelImport, ModelsWithoutMeshesOrOfOtherKindsAreRefusedAndOnlyTrianglesKept)
{
    const struct { const char* file; std::string text; const char* reason; } cases[] = {
        {"model.OBJ", "mtllib m.mtl\nusemtl a\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nl -3 \\\r\n2\np 3\n", ""},
        // A line of one point would make Assimp write past the mesh's vertices.
        {"model.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nl 1\nl 1\nl 1 2 3\n", "a line element has fewer than two points"},
        {"model.obj", std::string("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nlod 1\0 2\n", 41), "a line element has fewer than two points"},
        {"model.x", "xof 0303txt 0032\nFrame Root {\n}\n", "only Wavefront .obj models are read"},
        {"model.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\n", "Validation failed: Mesh  contains no faces"},
        {"model.obj", "words, and no model at all\n", "Validation failed: aiScene::mNumMeshes is 0. At least one mesh must be there"},
        {"model.obj", "v 0 0 nan\nv 1 0 0\nv 0 1 0\nf 1 2 3\n", "a position is not a finite number"}};
    for (const auto& c : cases) {
        TempDir dir;
        dir.write(std::string("Scene/") + c.file, c.text);
        dir.write("Scene/m.mtl", "newmtl a\nmap_Kd maps\\wall.tga\n");
        Assimp::Importer importer;
        std::string reason;
        const aiScene* scene = importModel(importer, (std::string("Scene/") + c.file).c_str(), &reason);
        EXPECT_EQ(reason, c.reason) << c.text;
        ASSERT_EQ(scene != nullptr, *c.reason == '\0') << c.text;
        if (scene == nullptr)
            continue;
        const MeshData data = extractMesh(scene->mMeshes[0], scene);
        EXPECT_EQ(data.indices, (std::vector<unsigned>{0, 1, 2})) << "the line and the point are not drawn";
        EXPECT_EQ(data.leftOutFaces, 2u);
        EXPECT_EQ(std::pair(data.vertices[0].tangent, data.vertices[0].uv), std::pair(glm::vec3(1, 0, 0), glm::vec2(0))) << "no vt";
        EXPECT_EQ(data.diffuseTexturePaths, (std::vector<std::string>{"Scene/maps/wall.tga"}));
    }
    for (const auto& [name, path] : {std::pair{".\\picture.jpg", "Scene/picture.jpg"}, {"..\\..\\x.tga", "Scene/x.tga"},
                                     {"/etc/x.tga", "Scene/etc/x.tga"}, {"a/../../b//c.tga", "Scene/b/c.tga"}})
        EXPECT_EQ(sceneTexturePath(name), path) << name;
}

// A folder where a screen image should be is reported like a missing file, not passed over.
TEST(ScreenImageFolder, IsReportedAsNotOpenedAndGivesNoTexture)
{
    TempDir dir;
    std::filesystem::create_directories(dir.path / "Scene/pause.dds");
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadDDS("Scene/pause.dds"), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Scene/pause.dds could not be opened. Are you in the right directory ? Don't forget to read the FAQ !\n");
}

// Damaged Targa files are refused before DevIL, which would report them as loaded.
TEST(ImageFile, DamagedTargaFilesAreRefusedAndWholeOnesRead)
{
    const std::string pixels(4 * 4 * 3, '\x40'), map(6, '\x7f');
    const struct { const char* what; std::string bytes; ILenum error; } cases[] = {
        {"whole", header(2, 4, 4, 24) + pixels, IL_NO_ERROR}, {"no width", header(2, 0, 4, 24), IL_INVALID_FILE_HEADER},
        {"whole, run-length", header(10, 4, 4, 24) + "\x8f\x10\x20\x30", IL_NO_ERROR},
        {"whole, colour-mapped", header(1, 2, 1, 8, 2) + map + std::string("\x01\x00", 2), IL_NO_ERROR},
        {"cut in its header", header(2, 4, 4, 24).substr(0, 10), IL_FILE_READ_ERROR},
        {"cut in its pixels", header(2, 4, 4, 24) + pixels.substr(1), IL_FILE_READ_ERROR},
        {"cut in its runs", header(10, 4, 4, 24) + "\x87\x10\x20\x30\x87\x10\x20", IL_FILE_READ_ERROR},
        {"a run past the last pixel", header(10, 4, 4, 24) + "\x90\x10\x20\x30\x8e\x10\x20\x30", IL_ILLEGAL_FILE_VALUE},
        {"an index past its colour map", header(1, 2, 1, 8, 2) + map + "\x01\x02", IL_ILLEGAL_FILE_VALUE},
        {"whole, colour-mapped runs", header(9, 2, 1, 8, 2) + map + "\x81\x01", IL_NO_ERROR},
        {"a run of an index past its colour map", header(9, 2, 1, 8, 2) + map + "\x81\x02", IL_ILLEGAL_FILE_VALUE},
        {"a colour map from its third entry", header(1, 2, 1, 8, 2).replace(3, 1, 1, '\x02') + map + std::string("\x00\x01", 2), IL_INVALID_FILE_HEADER},
        {"a huge size claimed", header(10, 65535, 65535, 32) + std::string(100, '\xff'), IL_INVALID_FILE_HEADER},
        {"an unknown kind", header(7, 4, 4, 24) + pixels, IL_INVALID_FILE_HEADER}, {"grey of 24 bits", header(3, 4, 4, 24) + pixels, IL_INVALID_FILE_HEADER},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.write("picture.tga", c.bytes);
        RgbaImage image = readRgbaImage("picture.tga");
        EXPECT_EQ(image.error, c.error) << c.what;
        EXPECT_EQ(image.failure != nullptr, c.error != IL_NO_ERROR) << c.what;
        if (image.image != 0) {
            EXPECT_EQ(ilGetInteger(IL_IMAGE_FORMAT), IL_RGBA) << c.what;
            ilDeleteImages(1, &image.image);
        }
    }
}

// Every kind a material may name comes out top row first, or is refused with a reason before DevIL,
// which writes or reads past its buffers on some of them, sees it.
TEST(ImageFile, EveryKindIsReadTopRowFirstOrRefusedWithItsReason)
{
    const std::string rows("\x10\x20\x30\x40\x50\x60", 6), rgba("\x30\x20\x10\xff\x60\x50\x40\xff", 8);
    // Eight bits per pixel, a palette of two colours, and an index past it.
    std::string bmp("BM\0\0\0\0\0\0\0\0\x3e\0\0\0\x28\0\0\0\x02\0\0\0\x01\0\0\0\x01\0\x08\0", 30);
    bmp += std::string(16, '\0') + std::string("\x02\0\0\0\0\0\0\0\x10\x20\x30\0\x40\x50\x60\0\x01\x05\0\0", 20);
    // One grey pixel of 128 as JPEG: a comment that reads like a marker, a flat quantisation
    // table, a frame, one-bit Huffman codes for the DC difference 0 and the end of block, a scan
    // and its one byte, then a stuffed 0 and a restart marker, which the segment check passes over.
    auto segment = [](char code, const std::string& body) {
        const auto length = static_cast<unsigned>(body.size() + 2);
        return std::string{'\xff', code, static_cast<char>(length >> 8), static_cast<char>(length)} + body;
    };
    const std::string huffman = '\x01' + std::string(16, '\0'), start("\xff\xd8", 2);
    const std::string jpeg = start + segment('\xfe', "\xff\xfe\xff\xff") + segment('\xdb', '\0' + std::string(64, '\x01')) +
                             segment('\xc0', std::string("\x08\0\x01\0\x01\x01\x01\x11\0", 9)) +
                             segment('\xc4', '\0' + huffman) + segment('\xc4', '\x10' + huffman) +
                             segment('\xda', std::string("\x01\x01\0\0\x3f\0", 6)) +
                             std::string("\x3f\xff\0\xff\xd0\xff\xd9", 7);
    const std::string cutJpeg = "a marker segment runs past the end of the file";
    // The same frame declared as 2000 × 2000: its one byte of scan cannot hold 62500 blocks.
    std::string manyBlocks = jpeg;
    manyBlocks.replace(manyBlocks.find(std::string("\x08\0\x01\0\x01", 5)), 5, "\x08\x07\xd0\x07\xd0");
    static const char pixelPng[] = "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x01\0\0\0\x01\x08\x02\0\0\0\x90\x77\x53\xde"
                                   "\0\0\0\x0cIDAT\x08\xd7\x63\x70\x48\x68\0\0\x02\x04\x01\x21\x1a\xf4\x8b\xfd"
                                   "\0\0\0\0IEND\xae\x42\x60\x82";
    const std::string png1(pixelPng, sizeof pixelPng - 1), cutPng = "a PNG chunk runs past the end of the file";
    // Four pixels of two colours from four codes, the last a string of two; then the same frame
    // with codes that stop after two pixels, cut within its codes, on a canvas it leaves half bare, and placed a row down.
    const std::string gif("GIF89a\x04\0\x01\0\x80\0\0\x10\x20\x30\x40\x50\x60,\0\0\0\0\x04\0\x01\0\0\x02\x02\x44", 32),
        whole = gif + std::string("\x5c\0;", 3), fewer = "fewer pixels than its header declares";
    const struct { const char* name; std::string bytes, reason, pixels; } cases[] = {
        // DevIL never returns from a file that ends inside a segment it skips: a comment, or the
        // rest of a JFIF header after the part it reads.
        {"tem.jpg", start + "\xff\x01" + jpeg.substr(2), "", "\x80\x80\x80\xff"},  // a marker without a length
        {"grey.jpg", jpeg, "", "\x80\x80\x80\xff"}, {"comment.jpg", start + std::string("\xff\xfe\x01\0", 4), cutJpeg, ""},
        {"jfif.jpeg", start + segment('\xe0', std::string("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14) + "more").substr(0, 20), cutJpeg, ""},
        {"top.tga", header(2, 1, 2, 24, 0, 24, 0x20) + rows, "", rgba},
        {"bottom.tga", header(2, 1, 2, 24) + rows.substr(3) + rows.substr(0, 3), "", rgba},
        {"map16.tga", header(1, 2, 1, 8, 2, 16, 0x20) + std::string("\x00\x7c\x1f\x00\x00\x01", 6), "", std::string("\xff\0\0\xff\0\0\xff\xff", 8)},
        {"greyalpha.tga", header(3, 2, 1, 16, 0, 24, 0x20) + std::string("\x80\x40\xff\x00", 4), "", std::string("\x80\x80\x80\x40\xff\xff\xff\x00", 8)},
        {"plain.PPM", "P6\n1 2\n255\n" + std::string("\x30\x20\x10\x60\x50\x40", 6), "", std::string("\x30\x20\x10\xff\x60\x50\x40\xff", 8)},
        {"deep.pgm", "P5\n2 1\n65535\n\x12\x34\xff\xff", "16-bit samples are not read", ""},
        {"cut.ppm", "P6\n1 2\n255\n" + std::string("\x30\x20\x10\x60\x50", 5), fewer, ""}, {"wide.pgm", "P5\n12345 1\n255\n" + std::string(1234, 'x'), fewer, ""},
        {"text.pgm", "P2\n1 1\n255\n7\n", "unknown image type", ""},
        {"pixels.gif", whole, "", std::string("\x10\x20\x30\xff\x40\x50\x60\xff", 8) + "\x10\x20\x30\xff\x40\x50\x60\xff"},
        {"short.gif", gif + std::string("\x0a\0;", 3), fewer, ""}, {"cut.gif", gif, fewer, ""},
        {"canvas.gif", whole.substr(0, 8) + '\x02' + whole.substr(9), fewer, ""}, {"low.gif", whole.substr(0, 22) + '\x01' + whole.substr(23), fewer, ""},
        {"damaged.gif", std::string("GIF89a\x02\x00\x02\x00\xf7\x00\x00", 13) + std::string(40, '\xee'), fewer, ""},
        {"palette.bmp", bmp, "", "\x60\x50\x40\xff"},  // the index past the palette reads no further
        {"short.bmp", bmp.substr(0, 63), fewer, ""}, {"header.bmp", bmp.substr(0, 29), fewer, ""},
        {"old.bmp", "BM" + std::string(12, '\0') + std::string("\x0c\0\0\0\x02\0\x01\0", 8), fewer, ""},  // cut before its depth
        {"negative.bmp", (bmp.substr(0, 30) + std::string(4, '\xff') + bmp.substr(34)).substr(0, 63), fewer, ""},
        {"wide.gif", std::string("GIF89a\x00\xfc\x01\x00\x00\x00\x00", 13) + std::string(40, '\0'), "a side above 16384 pixels", ""},
        {"wide.png", png(64512, 1), "a side above 16384 pixels", ""},
        {"blocks.jpg", manyBlocks, fewer, ""},
        {"wide.jpg", start + segment('\xc0', std::string("\x08\x4e\x20\0\x01\x01\x01\x11\0", 9)), "a side above 16384 pixels", ""},
        // DevIL would leave libpng reading what nothing wrote: a cut chunk, a cut signature.
        {"pixel.png", png1, "", "\x40\x60\x80\xff"}, {"cut.png", png1.substr(0, 40), cutPng, ""},
        {"signature.png", png1.substr(0, 5), cutPng, ""}, {"no_end.png", png1.substr(0, 57), cutPng, ""},
        {"picture.xpm", "/* XPM */\n", "pictures of this kind are not read (only .tga, .png, .jpg, .jpeg, .bmp, .gif, .pgm, .ppm, .pnm)", ""},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.write(c.name, c.bytes);
        RgbaImage image = readRgbaImage(c.name);
        EXPECT_EQ(image.reason, c.reason) << c.name;
        EXPECT_EQ(image.image != 0, c.reason.empty()) << c.name;
        if (image.image == 0)
            continue;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(ilGetData()), c.pixels.size()), c.pixels) << c.name;
        ilDeleteImages(1, &image.image);
    }
}
