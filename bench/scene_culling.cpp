// The loader's per-frame frustum culling over the full game's mesh count, and the import of one
// statue model (each of the twenty statues loads it at start-up). Needs an X display (Xvfb).
#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <fcntl.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>

#include "app/Level.h"
#include "assets/Mesh.h"
#include "assets/SceneLoader.h"
#include "core/Camera.h"
#include "core/BoundingBox.h"

namespace {

GLFWwindow* window = nullptr;

// Every mesh prints an empty line when it is made; kept out of the report while alive.
class QuietOutput {
public:
    QuietOutput()
    {
        std::fflush(stdout);
        saved = dup(1);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        close(null);
    }
    ~QuietOutput()
    {
        std::fflush(stdout);
        dup2(saved, 1);
        close(saved);
    }
    QuietOutput(const QuietOutput&) = delete;
    QuietOutput& operator=(const QuietOutput&) = delete;

private:
    int saved = -1;
};

void openContext()
{
    if (window != nullptr)
        return;
    if (!glfwInit()) {
        std::fprintf(stderr, "no display: run under xvfb-run\n");
        std::exit(1);
    }
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    window = glfwCreateWindow(1, 1, "scene culling", nullptr, nullptr);
    if (window == nullptr) {
        std::fprintf(stderr, "no window\n");
        std::exit(1);
    }
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    glewInit();
}

GLuint flatProgram()
{
    const char* vertex = "#version 120\nattribute vec3 position;\nuniform mat4 modelMatrix;\n"
                         "void main() { gl_Position = modelMatrix * vec4(position, 1.0); }\n";
    const char* fragment = "#version 120\nvoid main() { gl_FragColor = vec4(1.0); }\n";
    GLuint program = glCreateProgram();
    for (auto [type, source] : {std::pair<GLenum, const char*>{GL_VERTEX_SHADER, vertex},
                                std::pair<GLenum, const char*>{GL_FRAGMENT_SHADER, fragment}}) {
        GLuint shader = glCreateShader(type);
        glShaderSource(shader, 1, &source, nullptr);
        glCompileShader(shader);
        glAttachShader(program, shader);
    }
    glLinkProgram(program);
    glUseProgram(program);
    return program;
}

// A closed box mesh of 12 triangles.
Mesh* boxMesh(const glm::vec3& low, const glm::vec3& high, const glm::mat4& model)
{
    std::vector<Vertex> vertices;
    for (int i = 0; i < 8; ++i) {
        glm::vec3 p(i & 1 ? high.x : low.x, i & 2 ? high.y : low.y, i & 4 ? high.z : low.z);
        vertices.push_back({p, {0, 1, 0}, {1, 0, 0}, {1, 1, 1}, {0, 0}});
    }
    std::vector<GLuint> indices = {0, 2, 3, 0, 3, 1, 4, 5, 7, 4, 7, 6, 0, 1, 5, 0, 5, 4,
                                   2, 6, 7, 2, 7, 3, 0, 4, 6, 0, 6, 2, 1, 3, 7, 1, 7, 5};
    return new Mesh(vertices, indices, model, nullptr, true, false);
}

glm::mat4 at(float x, float y, float z)
{
    return glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z));
}

// The hall as the player sees it at the start: the game's own models placed as the world
// assembly places them (or, without the built content, 130 statue-sized boxes spread along the
// hall), the camera at the start position looking down the hall.
struct Hall {
    sceneLoader loader;
    float planes[24] = {};
    GLuint program = 0;
    bool gameModels = false;

    Hall()
    {
        openContext();
        program = flatProgram();
        QuietOutput quiet;
        std::filesystem::path runDir(VELLMAR_RUN_DIR);
        gameModels = std::filesystem::exists(runDir / "Scene/tutroom.obj");
        if (gameModels)
            loadGameModels(runDir);
        else
            placeBoxes();
        projectionMatrix = cameraProjection();
        glm::vec3 eye(1.0f, 3.5f, 1.0f);
        viewMatrix = glm::lookAt(eye, eye + glm::vec3(0.0f, 0.0f, 1.0f), glm::vec3(0.0f, 1.0f, 0.0f));
        frustumPlanes = planes;
        computeViewProjection();
        extractFrustumPlanes();
        loader.frustumPlanes = planes;
    }

    void loadGameModels(const std::filesystem::path& runDir)
    {
        std::filesystem::path previous = std::filesystem::current_path();
        std::filesystem::current_path(runDir);
        for (const level::StatueSpot& s : level::statues)
            loader.loadModel("Scene/statue.obj", at(s.x, level::statueHeight, s.z), false, true);
        loader.loadModel("Scene/tutroom.obj", glm::mat4(1.0f), true, true);
        const level::Spot& h = level::harvester;
        loader.loadModel("Scene/combine.obj", at(h.x, h.y, h.z), true, false);
        loader.loadModel("Scene/combineRotor.obj", at(h.x, h.y, h.z), true, false);
        const level::Spot& cow = level::cow;
        loader.loadModel("Scene/giantCowHigh.obj", at(cow.x, cow.y, cow.z), true, true);
        loader.loadModel("Scene/GiantCowLow.obj", at(cow.x, cow.y, cow.z), true, true);
        for (const level::Spot& p : level::crates)
            loader.loadModel("Scene/CompanionCube.obj", at(p.x, p.y, p.z), false, false);
        std::filesystem::current_path(previous);
    }

    void placeBoxes()
    {
        constexpr int standInMeshCount = 130;
        for (int i = 0; i < standInMeshCount; ++i) {
            float x = -30.0f + 60.0f * static_cast<float>(i % 7) / 6.0f;
            float z = -40.0f + 370.0f * static_cast<float>(i) / standInMeshCount;
            loader.meshes.push_back(boxMesh({-0.5f, 0.0f, -0.5f}, {0.5f, 2.0f, 0.5f}, at(x, 0.3f, z)));
        }
    }

    int drawnCount() const
    {
        int drawn = 0;
        for (const Mesh* mesh : loader.meshes)
            drawn += mesh->boundingBox->isOutside(planes) ? 0 : 1;
        return drawn;
    }
};

Hall& hall()
{
    static Hall* instance = new Hall();
    return *instance;
}

// The culling alone: every mesh is hidden, so a mesh that passes returns at once.
void BM_CullingOnly(benchmark::State& state)
{
    Hall& h = hall();
    for (Mesh* mesh : h.loader.meshes)
        mesh->visible = false;
    for (auto _ : state)
        h.loader.draw(h.program);
    state.counters["meshes"] = static_cast<double>(h.loader.meshes.size());
    state.counters["inView"] = h.drawnCount();
    state.SetLabel(h.gameModels ? "game models" : "stand-in boxes");
}
BENCHMARK(BM_CullingOnly);

// The whole draw of the list into the 1×1 window: culling plus the draws that pass it.
void BM_CullAndDrawInto1x1(benchmark::State& state)
{
    Hall& h = hall();
    for (Mesh* mesh : h.loader.meshes)
        mesh->visible = true;
    for (auto _ : state) {
        h.loader.draw(h.program);
        glFinish();
    }
    state.counters["inView"] = h.drawnCount();
}
BENCHMARK(BM_CullAndDrawInto1x1);

// A stand-in for the statue when the game's content is not built: a 40 × 40 grid figure
// (about 3200 triangles) with normals and texture coordinates, but no textures.
void writeStandInStatue(const std::filesystem::path& file)
{
    std::filesystem::create_directories(file.parent_path());
    std::ofstream obj(file);
    constexpr int n = 40;
    const float pi = 3.14159265f;
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            float a = 2.0f * pi * static_cast<float>(j) / n;
            float h = 2.0f * static_cast<float>(i) / n;
            float r = 0.3f + 0.1f * std::sin(3.0f * h);
            obj << "v " << r * std::cos(a) << " " << h << " " << r * std::sin(a) << "\n";
            obj << "vt " << static_cast<float>(j) / n << " " << static_cast<float>(i) / n << "\n";
        }
    }
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            int a = i * (n + 1) + j + 1;
            int b = a + n + 1;
            obj << "f " << a << "/" << a << " " << b << "/" << b << " " << b + 1 << "/" << b + 1 << " " << a + 1
                << "/" << a + 1 << "\n";
        }
    }
}

void BM_LoadStatue(benchmark::State& state)
{
    openContext();
    std::filesystem::path runDir(VELLMAR_RUN_DIR);
    std::filesystem::path folder = runDir;
    bool gameModel = std::filesystem::exists(runDir / "Scene/statue.obj");
    if (!gameModel) {
        folder = std::filesystem::temp_directory_path() / "vellmar-bench-statue";
        writeStandInStatue(folder / "Scene/statue.obj");
    }
    std::filesystem::current_path(folder);
    std::size_t meshCount = 0;
    {
        QuietOutput quiet;
        sceneLoader loader;
        for (auto _ : state) {
            std::size_t before = loader.meshes.size();
            loader.loadModel("Scene/statue.obj", at(0.0f, 0.3f, 21.0f),
                             false, true);
            meshCount = loader.meshes.size() - before;
        }
    }
    state.counters["meshes"] = static_cast<double>(meshCount);
    state.SetLabel(gameModel ? "game model" : "stand-in");
}
BENCHMARK(BM_LoadStatue)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
