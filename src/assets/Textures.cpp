#include "assets/Textures.h"

#include <IL/ilu.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

#include "assets/DdsFile.h"
#include "assets/ImageFile.h"
#include "core/Console.h"

namespace {

struct SharedTexture {
    GLuint texture;
    int users;
};
// Model textures by path. Each statue and each box of the hall names the same few pictures.
std::map<std::string, SharedTexture> sharedTextures;

// Image library failures end the game at once, without the console wait.
[[noreturn]] void imageLibraryFailure(const char* what, ILenum error)
{
    char line[512];
    std::snprintf(line, sizeof line, "%s - IL reports error: %u - %s", what, static_cast<unsigned>(error),
                  iluErrorString(error));
    fatalError(pictureFailure, line);
}

GLenum glFormat(DdsFormat format)
{
    switch (format) {
    case DdsFormat::Dxt1:
        return GL_COMPRESSED_RGBA_S3TC_DXT1_EXT;
    case DdsFormat::Dxt3:
        return GL_COMPRESSED_RGBA_S3TC_DXT3_EXT;
    case DdsFormat::Dxt5:
        break;
    }
    return GL_COMPRESSED_RGBA_S3TC_DXT5_EXT;
}

// Magic, header and as much of the level data as the header allows and the file holds. Reads in
// pieces so that a header claiming gigabytes costs only what the file really has.
std::vector<unsigned char> readDds(std::FILE* file)
{
    std::vector<unsigned char> bytes(ddsHeaderBytes);
    size_t got = std::fread(bytes.data(), 1, ddsMagicBytes, file);
    if (!hasDdsMagic(bytes.data(), got))
        return {};
    got += std::fread(bytes.data() + ddsMagicBytes, 1, ddsHeaderBytes - ddsMagicBytes, file);
    if (got < ddsHeaderBytes)
        return {};
    const uint64_t wanted = ddsDataBytes(bytes.data());
    constexpr uint64_t piece = 1 << 20;
    uint64_t have = 0;
    while (have < wanted) {
        size_t step = static_cast<size_t>(std::min(piece, wanted - have));
        size_t start = bytes.size();
        bytes.resize(start + step);
        size_t read = std::fread(bytes.data() + start, 1, step, file);
        bytes.resize(start + read);
        have += read;
        if (read < step)
            break;
    }
    return bytes;
}

// A folder opens like a file on Linux but reads nothing: to the player it is a file that could not
// be opened.
std::FILE* openFile(const char* path)
{
    std::FILE* file = std::fopen(path, "rb");
    struct stat info {};
    if (file && fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

}  // namespace

GLuint loadImageTexture(const char* path)
{
    RgbaImage image = readRgbaImage(path);
    if (image.failure != nullptr) {
        refusedFile(path, image.reason.empty() ? iluErrorString(image.error) : image.reason);
        imageLibraryFailure(image.failure, image.error);
    }

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    GLint format = ilGetInteger(IL_IMAGE_FORMAT);
    glTexImage2D(GL_TEXTURE_2D, 0, format, ilGetInteger(IL_IMAGE_WIDTH), ilGetInteger(IL_IMAGE_HEIGHT), 0,
                 static_cast<GLenum>(format), GL_UNSIGNED_BYTE, ilGetData());
    ilDeleteImages(1, &image.image);
    return texture;
}

GLuint loadDDS(const char* path)
{
    std::FILE* file = openFile(path);
    if (!file) {
        notice("%s could not be opened. Are you in the right directory ? Don't forget to read the FAQ !", path);
        // The wait for Enter is intended: the player reads the message before the game goes on.
        waitForEnter();
        return 0;
    }
    std::vector<unsigned char> bytes = readDds(file);
    std::fclose(file);

    DdsImage image = parseDds(bytes.data(), bytes.size());
    if (!image.problem.empty()) {
        refusedFile(path, image.problem);
        return 0;
    }

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLenum format = glFormat(image.format);
    // Level by level, the driver first guesses the chain from level 0 and then keeps a second copy
    // (4.5 MB over the screen images). A whole chain can be laid out at once, and the texture is
    // complete either way. A partial chain ends at its last level, so it is complete too.
    const bool atOnce = !image.partialChain && GLEW_ARB_texture_storage;
    if (atOnce)
        glTexStorage2D(GL_TEXTURE_2D, static_cast<GLsizei>(image.levels.size()), format,
                       static_cast<GLsizei>(image.levels[0].width), static_cast<GLsizei>(image.levels[0].height));
    for (size_t level = 0; level < image.levels.size(); ++level) {
        const DdsLevel& l = image.levels[level];
        const GLint number = static_cast<GLint>(level);
        if (atOnce)
            glCompressedTexSubImage2D(GL_TEXTURE_2D, number, 0, 0, static_cast<GLsizei>(l.width),
                                      static_cast<GLsizei>(l.height), format, static_cast<GLsizei>(l.size),
                                      bytes.data() + l.offset);
        else
            glCompressedTexImage2D(GL_TEXTURE_2D, number, format, static_cast<GLsizei>(l.width),
                                   static_cast<GLsizei>(l.height), 0, static_cast<GLsizei>(l.size),
                                   bytes.data() + l.offset);
    }
    if (image.partialChain) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(image.levels.size() - 1));
        if (image.levels.size() == 1)
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    }
    return texture;
}

GLuint acquireModelTexture(const std::string& path)
{
    auto found = sharedTextures.find(path);
    if (found != sharedTextures.end()) {
        ++found->second.users;
        return found->second.texture;
    }
    const GLuint texture = loadImageTexture(path.c_str());
    sharedTextures[path] = {texture, 1};
    return texture;
}

void releaseModelTexture(GLuint texture)
{
    for (auto shared = sharedTextures.begin(); shared != sharedTextures.end(); ++shared) {
        if (shared->second.texture != texture)
            continue;
        if (--shared->second.users > 0)
            return;
        sharedTextures.erase(shared);
        break;
    }
    glDeleteTextures(1, &texture);
}
