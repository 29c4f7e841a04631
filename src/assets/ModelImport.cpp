#include "assets/ModelImport.h"

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <utility>

#include <assimp/DefaultIOSystem.h>
#include <assimp/IOStream.hpp>
#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

namespace {

constexpr unsigned importFlags = aiProcess_CalcTangentSpace | aiProcess_Triangulate | aiProcess_GenSmoothNormals |
                                 aiProcess_FlipUVs | aiProcess_ValidateDataStructure;

// Assimp's own strings hold at most this many characters.
constexpr std::size_t longestPath = 1023;

// A point or line mesh gets no generated normals; it faces up.
const glm::vec3 normalWithoutNormals(0.0f, 1.0f, 0.0f);

// Where Assimp 5.2 ends a line of a model or material file, and what it reads as a blank; both
// checks below must cut lines exactly as it does.
bool endsLine(char c) { return c == '\n' || c == '\r' || c == '\f' || c == '\0'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Whether a material file sets anything before its first "newmtl" line. Assimp 5.2 writes such
// settings through a material that does not exist yet and crashes once a texture follows. The
// lines are read the way Assimp reads them: blanks at the start of every line but the first are
// skipped; a line starting with '#' (or the first line starting with a blank) says nothing.
bool setsBeforeFirstMaterial(const std::string& text)
{
    auto at = text.begin();
    while (at != text.end()) {
        if (at != text.begin())
            at = std::find_if_not(at, text.end(), isBlank);
        const auto end = std::find_if(at, text.end(), endsLine);
        if (end != at) {
            if (text.compare(static_cast<std::size_t>(at - text.begin()), 6, "newmtl") == 0)
                return false;
            if (*at != '#' && !isBlank(*at))
                return true;
        }
        if (end == text.end())
            break;
        at = end + 1;
    }
    return false;
}

// Assimp 5.2 gives a line element of one point a vertex it never counted, and a later line element
// of three points or more in the same mesh then writes past the end of the mesh's vertices. A line
// needs two points, so a model with a line element of fewer is refused before Assimp reads it.
// Lines end where Assimp ends them (endsLine), and a backslash before a line end
// joins the line after the next line feed on. A line element is a line whose first word starts
// with 'l' (Assimp reads "lod" as one too); its points are counted as the later words that start
// with a digit or a sign, each of which Assimp reads as one point or more, or refuses.
class LineElementCheck {
public:
    void read(const char* text, std::size_t size)
    {
        for (std::size_t i = 0; i < size; ++i)
            take(text[i]);
    }

    // Whether what was read held a line element of fewer than two points.
    bool shortElementSeen()
    {
        if (join == Join::backslash)
            step('\\');
        endLine();
        return seen;
    }

private:
    enum class Place { lineStart, keyword, gap, word, otherLine };
    enum class Join { none, backslash, skipping };

    void take(char c)
    {
        if (join == Join::skipping) {
            if (c == '\n')
                join = Join::none;
            return;
        }
        if (join == Join::backslash) {
            join = Join::none;
            if (endsLine(c)) {
                join = c == '\n' ? Join::none : Join::skipping;
                return;
            }
            step('\\');
        }
        if (c == '\\')
            join = Join::backslash;
        else
            step(c);
    }

    void step(char c)
    {
        if (endsLine(c)) {
            endLine();
            return;
        }
        switch (place) {
        case Place::lineStart:
            points = 0;
            place = isBlank(c) ? Place::lineStart : c == 'l' ? Place::keyword : Place::otherLine;
            break;
        case Place::keyword:
        case Place::word:
            if (isBlank(c))
                place = Place::gap;
            break;
        case Place::gap:
            if (!isBlank(c)) {
                place = Place::word;
                if ((c >= '0' && c <= '9') || c == '+' || c == '-')
                    ++points;
            }
            break;
        case Place::otherLine:
            break;
        }
    }

    void endLine()
    {
        if (place == Place::keyword || place == Place::gap || place == Place::word)
            seen = seen || points < 2;
        place = Place::lineStart;
    }

    Place place = Place::lineStart;
    Join join = Join::none;
    int points = 0;
    bool seen = false;
};

// A stream that counts itself among the open files of one import for as long as it lives; Assimp
// releases some streams through its file system and deletes others itself.
class CountedStream : public Assimp::IOStream {
public:
    CountedStream(Assimp::IOStream* stream, std::set<CountedStream*>& openFiles) : stream(stream), openFiles(openFiles)
    {
        openFiles.insert(this);
    }
    ~CountedStream() override { openFiles.erase(this); }

    size_t Read(void* buffer, size_t size, size_t count) override { return stream->Read(buffer, size, count); }
    size_t Write(const void* buffer, size_t size, size_t count) override { return stream->Write(buffer, size, count); }
    aiReturn Seek(size_t offset, aiOrigin origin) override { return stream->Seek(offset, origin); }
    size_t Tell() const override { return stream->Tell(); }
    size_t FileSize() const override { return stream->FileSize(); }
    void Flush() override { stream->Flush(); }

private:
    std::unique_ptr<Assimp::IOStream> stream;
    std::set<CountedStream*>& openFiles;
};

// Files as Assimp opens them. Every file other than the model itself is a material library,
// whatever its name (a ".txt", a name in capitals, the model naming itself): one that would crash
// Assimp cannot be opened, and the model it belongs to is refused. The model's own opens are those
// of its path while nothing else of the import is open; Assimp reads a library while the model is
// still open, so a model named as its own library is checked like any other.
class CheckingIOSystem : public Assimp::DefaultIOSystem {
public:
    explicit CheckingIOSystem(std::string modelPath) : modelPath(std::move(modelPath)) {}
    // Assimp leaves a library open when reading it throws: a library name ending in "/" makes it
    // open the model's folder.
    ~CheckingIOSystem() override
    {
        while (!openFiles.empty())
            delete *openFiles.begin();
    }

    // Why the first file refused was not opened, or null.
    const char* refusal = nullptr;

    Assimp::IOStream* Open(const char* path, const char* mode) override
    {
        Assimp::IOStream* stream = DefaultIOSystem::Open(path, mode);
        if (stream == nullptr)
            return nullptr;
        const char* refused = nullptr;
        if (!openFiles.empty() || modelPath != path) {
            std::string text(stream->FileSize(), '\0');
            text.resize(stream->Read(&text[0], 1, text.size()));
            if (setsBeforeFirstMaterial(text))
                refused = "a material library sets values before its first newmtl line";
        } else {
            // The model is read in pieces: it can be large, and only one line is needed at a time.
            LineElementCheck lines;
            char piece[1 << 16];
            for (size_t got; (got = stream->Read(piece, 1, sizeof piece)) > 0;)
                lines.read(piece, got);
            if (lines.shortElementSeen())
                refused = "a line element has fewer than two points";
        }
        // Each file is judged on its own: Assimp goes on after a library it could not open, and
        // refusing the files after it as well leads it somewhere it crashes.
        if (refused != nullptr) {
            if (refusal == nullptr)
                refusal = refused;
            Close(stream);
            return nullptr;
        }
        stream->Seek(0, aiOrigin_SET);
        return new CountedStream(stream, openFiles);
    }

private:
    const std::string modelPath;
    std::set<CountedStream*> openFiles;
};

bool hasObjName(const std::string& path)
{
    return path.size() >= 4 && strcasecmp(path.c_str() + path.size() - 4, ".obj") == 0;
}

bool positionsFinite(const aiScene* scene)
{
    for (unsigned m = 0; m < scene->mNumMeshes; ++m)
        for (unsigned i = 0; i < scene->mMeshes[m]->mNumVertices; ++i) {
            const aiVector3D& p = scene->mMeshes[m]->mVertices[i];
            if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
                return false;
        }
    return true;
}

std::vector<std::string> texturePaths(const aiMaterial* material, aiTextureType type)
{
    std::vector<std::string> paths;
    for (unsigned i = 0; i < aiGetMaterialTextureCount(material, type); ++i) {
        aiString name;
        aiGetMaterialTexture(material, type, i, &name, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
        paths.push_back(sceneTexturePath(name.C_Str()));
    }
    return paths;
}

}  // namespace

std::string sceneTexturePath(const std::string& textureName)
{
    std::string path = "Scene/";
    if (textureName.empty() || path.size() + textureName.size() > longestPath)
        return path;
    std::vector<std::string> folders;
    std::size_t start = 0;
    while (start <= textureName.size()) {
        const std::size_t end = std::min(textureName.find_first_of("/\\", start), textureName.size());
        const std::string part = textureName.substr(start, end - start);
        if (part == "..") {
            if (!folders.empty())
                folders.pop_back();
        } else if (!part.empty() && part != ".") {
            folders.push_back(part);
        }
        start = end + 1;
    }
    for (std::size_t i = 0; i < folders.size(); ++i)
        path += (i > 0 ? "/" : "") + folders[i];
    return path;
}

const aiScene* importModel(Assimp::Importer& importer, const char* path, std::string* reason)
{
    const char* refusal = nullptr;
    const aiScene* scene = nullptr;
    if (!hasObjName(path)) {
        refusal = "only Wavefront .obj models are read";
    } else {
        // The importer owns the file system it is given.
        CheckingIOSystem* files = new CheckingIOSystem(path);
        importer.SetIOHandler(files);
        scene = importer.ReadFile(path, importFlags);
        if (files->refusal != nullptr)
            refusal = files->refusal;
        else if (scene == nullptr)
            refusal = *importer.GetErrorString() != '\0' ? importer.GetErrorString() : "Assimp returned no scene";
        else if (scene->mFlags == AI_SCENE_FLAGS_INCOMPLETE)
            refusal = "the scene is incomplete";
        else if (scene->mRootNode == nullptr)
            refusal = "the scene has no root node";
        else if (!positionsFinite(scene))
            refusal = "a position is not a finite number";
    }
    if (refusal == nullptr)
        return scene;
    if (reason != nullptr)
        *reason = refusal;
    return nullptr;
}

MeshData extractMesh(const aiMesh* mesh, const aiScene* scene)
{
    const aiMaterial* material = scene->mMaterials[mesh->mMaterialIndex];
    aiColor4D diffuse(0.0f, 0.0f, 0.0f, 0.0f);
    aiGetMaterialColor(material, AI_MATKEY_COLOR_DIFFUSE, &diffuse);

    MeshData data;
    data.vertices.reserve(mesh->mNumVertices);
    for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
        Vertex v;
        const aiVector3D& p = mesh->mVertices[i];
        v.position = {p.x, p.y, p.z};
        if (mesh->mNormals != nullptr)
            v.normal = {mesh->mNormals[i].x, mesh->mNormals[i].y, mesh->mNormals[i].z};
        else
            v.normal = normalWithoutNormals;
        if (mesh->mTangents != nullptr)
            v.tangent = {mesh->mTangents[i].x, mesh->mTangents[i].y, mesh->mTangents[i].z};
        else
            v.tangent = {1.0f, 0.0f, 0.0f};
        if (mesh->mColors[0] != nullptr)
            v.color = {mesh->mColors[0][i].r, mesh->mColors[0][i].g, mesh->mColors[0][i].b};
        else
            v.color = {diffuse.r, diffuse.g, diffuse.b};
        if (mesh->mTextureCoords[0] != nullptr)
            v.uv = {mesh->mTextureCoords[0][i].x, mesh->mTextureCoords[0][i].y};
        else
            v.uv = {0.0f, 0.0f};
        data.vertices.push_back(v);
    }

    data.indices.reserve(static_cast<std::size_t>(mesh->mNumFaces) * 3);
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        if (face.mNumIndices == 3)
            data.indices.insert(data.indices.end(), face.mIndices, face.mIndices + 3);
        else
            ++data.leftOutFaces;
    }

    data.diffuseTexturePaths = texturePaths(material, aiTextureType_DIFFUSE);
    data.normalTexturePaths = texturePaths(material, aiTextureType_OPACITY);
    return data;
}
