// Looks at the generated content without the game: renders every model from four sides with its texture
// and draws a map of the hall seen from above with everything the world places in it.
// Usage: vellmar_preview <Scene folder> <output folder>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <stb_image.h>
#include <stb_image_write.h>

#include "app/Level.h"
#include "core/Camera.h"

namespace {

glm::vec3 spot(const level::Spot& s) { return glm::vec3(s.x, s.y, s.z); }

struct Texture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
    glm::vec3 sample(glm::vec2 uv) const
    {
        if (rgba.empty()) return {0.8f, 0.8f, 0.8f};
        // OBJ's v grows upwards; the picture's first row is its top.
        float u = uv.x - std::floor(uv.x), v = 1.0f - (uv.y - std::floor(uv.y));
        int x = std::min(width - 1, static_cast<int>(u * width)), y = std::min(height - 1, static_cast<int>(v * height));
        const unsigned char* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
        return {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f};
    }
};

struct Corner {
    glm::vec3 position, normal;
    glm::vec2 uv;
};

struct Triangle {
    Corner c[3];
    const Texture* texture;
};

struct Model {
    std::vector<Triangle> triangles;
    std::map<std::string, Texture> textures;
    std::vector<std::pair<glm::vec3, glm::vec3>> meshBounds;
};

Texture loadTexture(const std::string& path)
{
    Texture t;
    int channels = 0;
    unsigned char* data = stbi_load(path.c_str(), &t.width, &t.height, &channels, 4);
    if (data) {
        t.rgba.assign(data, data + static_cast<size_t>(t.width) * t.height * 4);
        stbi_image_free(data);
    }
    return t;
}

Model loadObj(const std::string& folder, const std::string& name)
{
    Model model;
    std::map<std::string, std::string> diffuseOf;
    std::ifstream obj(folder + "/" + name);
    std::vector<glm::vec3> v, vn;
    std::vector<glm::vec2> vt;
    std::string line, current;
    glm::vec3 lo(1e30f), hi(-1e30f);
    auto closeMesh = [&] {
        if (lo.x <= hi.x) model.meshBounds.push_back({lo, hi});
        lo = glm::vec3(1e30f);
        hi = glm::vec3(-1e30f);
    };
    while (std::getline(obj, line)) {
        std::istringstream in(line);
        std::string tag;
        in >> tag;
        if (tag == "mtllib") {
            std::string file;
            in >> file;
            std::ifstream mtl(folder + "/" + file);
            std::string l, material;
            while (std::getline(mtl, l)) {
                std::istringstream m(l);
                std::string t;
                m >> t;
                if (t == "newmtl") m >> material;
                if (t == "map_Kd") m >> diffuseOf[material];
            }
        } else if (tag == "o") {
            closeMesh();
        } else if (tag == "v") {
            glm::vec3 p;
            in >> p.x >> p.y >> p.z;
            v.push_back(p);
        } else if (tag == "vt") {
            glm::vec2 p;
            in >> p.x >> p.y;
            vt.push_back(p);
        } else if (tag == "vn") {
            glm::vec3 p;
            in >> p.x >> p.y >> p.z;
            vn.push_back(p);
        } else if (tag == "usemtl") {
            in >> current;
            if (!model.textures.count(current))
                model.textures[current] = loadTexture(folder + "/" + diffuseOf[current]);
        } else if (tag == "f") {
            Triangle t;
            t.texture = &model.textures[current];
            for (int i = 0; i < 3; ++i) {
                std::string ref;
                in >> ref;
                int a = 0, b = 0, c = 0;
                std::sscanf(ref.c_str(), "%d/%d/%d", &a, &b, &c);
                t.c[i] = {v[a - 1], vn[c - 1], vt[b - 1]};
                lo = glm::min(lo, t.c[i].position);
                hi = glm::max(hi, t.c[i].position);
            }
            model.triangles.push_back(t);
        }
    }
    closeMesh();
    return model;
}

struct Image {
    int width, height;
    std::vector<glm::vec3> color;
    std::vector<float> depth;
    Image(int w, int h, glm::vec3 background) : width(w), height(h), color(w * h, background), depth(w * h, 1e30f) {}
    void put(int x, int y, glm::vec3 c)
    {
        if (x >= 0 && y >= 0 && x < width && y < height) color[y * width + x] = c;
    }
    bool save(const std::string& path) const
    {
        std::vector<unsigned char> bytes(color.size() * 3);
        for (size_t i = 0; i < color.size(); ++i)
            for (int k = 0; k < 3; ++k)
                bytes[i * 3 + k] = static_cast<unsigned char>(std::lround(std::clamp(color[i][k], 0.0f, 1.0f) * 255));
        return stbi_write_png(path.c_str(), width, height, 3, bytes.data(), width * 3) != 0;
    }
};

// Orthographic view: `view` turns the model, which is then fitted into a square tile of the image.
void render(Image& img, int tileX, int tile, const Model& model, const glm::mat3& view, float scale,
            const glm::vec3& centre)
{
    glm::vec3 light = glm::normalize(glm::vec3(-0.4f, 0.7f, 0.6f));
    for (const auto& t : model.triangles) {
        glm::vec3 s[3];
        for (int i = 0; i < 3; ++i) {
            glm::vec3 p = view * (t.c[i].position - centre);
            s[i] = {tileX + tile * 0.5f + p.x * scale, tile * 0.55f - p.y * scale, -p.z};
        }
        float area = (s[1].x - s[0].x) * (s[2].y - s[0].y) - (s[2].x - s[0].x) * (s[1].y - s[0].y);
        if (area >= 0) continue;  // back face (screen y runs downwards)
        int x0 = std::max(tileX, static_cast<int>(std::floor(std::min({s[0].x, s[1].x, s[2].x}))));
        int x1 = std::min(tileX + tile - 1, static_cast<int>(std::ceil(std::max({s[0].x, s[1].x, s[2].x}))));
        int y0 = std::max(0, static_cast<int>(std::floor(std::min({s[0].y, s[1].y, s[2].y}))));
        int y1 = std::min(img.height - 1, static_cast<int>(std::ceil(std::max({s[0].y, s[1].y, s[2].y}))));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                float px = x + 0.5f, py = y + 0.5f;
                float w0 = ((s[1].x - px) * (s[2].y - py) - (s[2].x - px) * (s[1].y - py)) / area;
                float w1 = ((s[2].x - px) * (s[0].y - py) - (s[0].x - px) * (s[2].y - py)) / area;
                float w2 = 1 - w0 - w1;
                if (w0 < 0 || w1 < 0 || w2 < 0) continue;
                float z = w0 * s[0].z + w1 * s[1].z + w2 * s[2].z;
                float& d = img.depth[y * img.width + x];
                if (z >= d) continue;
                d = z;
                glm::vec3 n = glm::normalize(view * (w0 * t.c[0].normal + w1 * t.c[1].normal + w2 * t.c[2].normal));
                glm::vec2 uv = w0 * t.c[0].uv + w1 * t.c[1].uv + w2 * t.c[2].uv;
                float shade = 0.35f + 0.75f * std::max(0.0f, glm::dot(n, view * light));
                img.put(x, y, t.texture->sample(uv) * shade);
            }
    }
}

void modelSheet(const std::string& scene, const std::string& out, const std::string& name)
{
    Model model = loadObj(scene, name + ".obj");
    glm::vec3 lo(1e30f), hi(-1e30f);
    for (const auto& t : model.triangles)
        for (const auto& c : t.c) {
            lo = glm::min(lo, c.position);
            hi = glm::max(hi, c.position);
        }
    glm::vec3 centre = (lo + hi) * 0.5f;
    float extent = glm::length(hi - lo);
    const int tile = 384;
    Image img(tile * 4, tile, {0.22f, 0.24f, 0.28f});
    float scale = tile * 0.9f / extent;
    glm::mat3 front(1.0f);
    glm::mat3 side = glm::mat3(glm::rotate(glm::mat4(1.0f), glm::radians(-90.0f), glm::vec3(0, 1, 0)));
    glm::mat3 back = glm::mat3(glm::rotate(glm::mat4(1.0f), glm::radians(180.0f), glm::vec3(0, 1, 0)));
    glm::mat3 oblique = glm::mat3(glm::rotate(glm::mat4(1.0f), glm::radians(25.0f), glm::vec3(1, 0, 0)) *
                                  glm::rotate(glm::mat4(1.0f), glm::radians(-35.0f), glm::vec3(0, 1, 0)));
    render(img, 0, tile, model, front, scale, centre);
    render(img, tile, tile, model, side, scale, centre);
    render(img, tile * 2, tile, model, back, scale, centre);
    render(img, tile * 3, tile, model, oblique, scale, centre);
    img.save(out + "/" + name + ".png");
    std::printf("%s: %zu triangles, bounds (%.3f %.3f %.3f) .. (%.3f %.3f %.3f)\n", name.c_str(), model.triangles.size(),
                lo.x, lo.y, lo.z, hi.x, hi.y, hi.z);
}

// The hall from above, z running to the right: floors light, walls dark, the pit black, and what the
// world places: statues red (with their touch radius), crates orange, the cow, the harvester, the
// activators' reach at eye height in blue, the start in green.
void levelMap(const std::string& scene, const std::string& out)
{
    Model hall = loadObj(scene, "tutroom.obj");
    const float ppu = 5, minX = -45, maxX = 17, minZ = -46, maxZ = 342;
    Image img(static_cast<int>((maxZ - minZ) * ppu), static_cast<int>((maxX - minX) * ppu), {0, 0, 0});
    auto toPixel = [&](float x, float z) { return glm::vec2((z - minZ) * ppu, (maxX - x) * ppu); };
    auto fill = [&](float x0, float z0, float x1, float z1, glm::vec3 c) {
        glm::vec2 a = toPixel(x1, z0), b = toPixel(x0, z1);
        for (int y = static_cast<int>(a.y); y < static_cast<int>(b.y); ++y)
            for (int x = static_cast<int>(a.x); x < static_cast<int>(b.x); ++x) img.put(x, y, c);
    };
    auto ring = [&](float x, float z, float r, glm::vec3 c) {
        for (int i = 0; i < 360; ++i) {
            glm::vec2 p = toPixel(x + r * std::cos(glm::radians(float(i))), z + r * std::sin(glm::radians(float(i))));
            img.put(static_cast<int>(p.x), static_cast<int>(p.y), c);
        }
    };
    for (const auto& [lo, hi] : hall.meshBounds)
        if (hi.y <= 0.0f) fill(lo.x, lo.z, hi.x, hi.z, {0.55f, 0.53f, 0.5f});
    for (const auto& [lo, hi] : hall.meshBounds)
        if (hi.y > 0.0f && lo.y < 5.0f) fill(lo.x, lo.z, hi.x, hi.z, {0.18f, 0.17f, 0.2f});
    auto footprint = [&](const std::string& name, glm::vec3 at, glm::vec3 c) {
        Model m = loadObj(scene, name);
        for (const auto& [lo, hi] : m.meshBounds) fill(lo.x + at.x, lo.z + at.z, hi.x + at.x, hi.z + at.z, c);
        return m;
    };
    Model statue = loadObj(scene, "statue.obj");
    glm::vec3 slo = statue.meshBounds[0].first, shi = statue.meshBounds[0].second;
    float touch = glm::length(shi - slo) / 1.5f;
    for (const level::StatueSpot& s : level::statues) {
        fill(s.x + slo.x, s.z + slo.z, s.x + shi.x, s.z + shi.z, {0.9f, 0.15f, 0.1f});
        ring(s.x + shi.x, s.z + slo.z, touch, {0.9f, 0.3f, 0.2f});
    }
    for (const level::Spot& c : level::crates)
        footprint("CompanionCube.obj", spot(c), {1.0f, 0.6f, 0.1f});
    footprint("giantCowHigh.obj", spot(level::cow), {0.95f, 0.95f, 0.9f});
    footprint("combine.obj", {3, 1, 16}, {0.2f, 0.7f, 0.2f});
    footprint("combine.obj", spot(level::harvester), {0.15f, 0.45f, 0.15f});
    for (const level::Spot& a : level::activators) ring(a.x, a.z, std::sqrt(25.0f - 3.5f * 3.5f), {0.3f, 0.5f, 1.0f});
    ring(level::playerStart.x, level::playerStart.z, level::playerRadius, {0.2f, 1.0f, 0.3f});
    img.save(out + "/level_map.png");
}

// A player's view with only a flashlight at the eye, to judge how the surfaces read in the dark hall.
struct Placed {
    const Model* model;
    glm::vec3 offset;
};

void renderPlayerView(const std::string& path, const std::vector<Placed>& scene, glm::vec3 eye, glm::vec3 target)
{
    const int width = 800, height = 600;
    Image img(width, height, {0, 0, 0});
    glm::vec3 f = glm::normalize(target - eye), r = glm::normalize(glm::cross(f, glm::vec3(0, 1, 0)));
    glm::vec3 u = glm::cross(r, f);
    const float tanHalf = std::tan(glm::radians(0.5f * cameraFieldOfViewDegrees)), aspect = cameraAspect,
                nearZ = cameraNear;
    struct V {
        glm::vec3 cam, normal, world;
        glm::vec2 uv;
    };
    for (const auto& placed : scene)
        for (const auto& t : placed.model->triangles) {
            std::vector<V> poly;
            for (const auto& c : t.c) {
                glm::vec3 w = c.position + placed.offset, d = w - eye;
                poly.push_back({{glm::dot(d, r), glm::dot(d, u), glm::dot(d, f)}, c.normal, w, c.uv});
            }
            // Camera space (right, up, forward) is left-handed, so a front face winds the other way round.
            glm::vec3 faceNormal = glm::cross(poly[1].cam - poly[0].cam, poly[2].cam - poly[0].cam);
            if (glm::dot(faceNormal, poly[0].cam) <= 0) continue;
            // Clip against the near plane.
            std::vector<V> clipped;
            for (size_t i = 0; i < poly.size(); ++i) {
                const V& a = poly[i];
                const V& b = poly[(i + 1) % poly.size()];
                bool aIn = a.cam.z > nearZ, bIn = b.cam.z > nearZ;
                if (aIn) clipped.push_back(a);
                if (aIn != bIn) {
                    float k = (nearZ - a.cam.z) / (b.cam.z - a.cam.z);
                    clipped.push_back({a.cam + (b.cam - a.cam) * k, a.normal + (b.normal - a.normal) * k,
                                       a.world + (b.world - a.world) * k, a.uv + (b.uv - a.uv) * k});
                }
            }
            if (clipped.size() < 3) continue;
            auto project = [&](const V& v) {
                return glm::vec2(width * 0.5f * (1 + v.cam.x / (v.cam.z * tanHalf * aspect)),
                                 height * 0.5f * (1 - v.cam.y / (v.cam.z * tanHalf)));
            };
            for (size_t k = 1; k + 1 < clipped.size(); ++k) {
                const V* tri[3] = {&clipped[0], &clipped[k], &clipped[k + 1]};
                glm::vec2 s[3] = {project(*tri[0]), project(*tri[1]), project(*tri[2])};
                float area = (s[1].x - s[0].x) * (s[2].y - s[0].y) - (s[2].x - s[0].x) * (s[1].y - s[0].y);
                if (std::fabs(area) < 1e-9f) continue;
                int x0 = std::max(0, static_cast<int>(std::floor(std::min({s[0].x, s[1].x, s[2].x}))));
                int x1 = std::min(width - 1, static_cast<int>(std::ceil(std::max({s[0].x, s[1].x, s[2].x}))));
                int y0 = std::max(0, static_cast<int>(std::floor(std::min({s[0].y, s[1].y, s[2].y}))));
                int y1 = std::min(height - 1, static_cast<int>(std::ceil(std::max({s[0].y, s[1].y, s[2].y}))));
                for (int y = y0; y <= y1; ++y)
                    for (int x = x0; x <= x1; ++x) {
                        float px = x + 0.5f, py = y + 0.5f;
                        float w0 = ((s[1].x - px) * (s[2].y - py) - (s[2].x - px) * (s[1].y - py)) / area;
                        float w1 = ((s[2].x - px) * (s[0].y - py) - (s[0].x - px) * (s[2].y - py)) / area;
                        float w2 = 1 - w0 - w1;
                        if (w0 < 0 || w1 < 0 || w2 < 0) continue;
                        // Perspective-correct weights.
                        float q0 = w0 / tri[0]->cam.z, q1 = w1 / tri[1]->cam.z, q2 = w2 / tri[2]->cam.z, q = q0 + q1 + q2;
                        float depth = 1 / q;
                        float& d = img.depth[y * width + x];
                        if (depth >= d) continue;
                        d = depth;
                        q0 /= q;
                        q1 /= q;
                        q2 /= q;
                        glm::vec3 world = tri[0]->world * q0 + tri[1]->world * q1 + tri[2]->world * q2;
                        glm::vec3 n = glm::normalize(tri[0]->normal * q0 + tri[1]->normal * q1 + tri[2]->normal * q2);
                        glm::vec2 uv = tri[0]->uv * q0 + tri[1]->uv * q1 + tri[2]->uv * q2;
                        glm::vec3 toEye = eye - world;
                        float dist = glm::length(toEye);
                        glm::vec3 l = toEye / dist;
                        float cone = glm::dot(-l, f);
                        float spot = std::clamp((cone - std::cos(glm::radians(30.0f))) / 0.05f, 0.0f, 1.0f);
                        float light = 0.06f + spot * std::max(0.0f, glm::dot(n, l)) * 1.6f / (1 + 0.004f * dist * dist);
                        img.put(x, y, t.texture->sample(uv) * light);
                    }
            }
        }
    img.save(path);
}

void playerViews(const std::string& sceneFolder, const std::string& out)
{
    static Model hall, statue, cow, combine, rotor, crate;
    hall = loadObj(sceneFolder, "tutroom.obj");
    statue = loadObj(sceneFolder, "statue.obj");
    cow = loadObj(sceneFolder, "giantCowHigh.obj");
    combine = loadObj(sceneFolder, "combine.obj");
    rotor = loadObj(sceneFolder, "combineRotor.obj");
    crate = loadObj(sceneFolder, "CompanionCube.obj");
    std::vector<Placed> scene = {{&hall, {0, 0, 0}}, {&cow, spot(level::cow)}, {&combine, {3, 1, 16}}, {&rotor, {3, 1, 16}}};
    for (const level::StatueSpot& s : level::statues) scene.push_back({&statue, {s.x, level::statueHeight, s.z}});
    for (const level::Spot& c : level::crates) scene.push_back({&crate, spot(c)});
    renderPlayerView(out + "/view_start.png", scene, {1, 3.5f, 1}, {1, 3.5f, 2});
    renderPlayerView(out + "/view_harvester.png", scene, {-2, 3.5f, 8}, {3, 1.5f, 16});
    renderPlayerView(out + "/view_door1.png", scene, {-4, 3.5f, 17}, {-1, 2.5f, 24});
    renderPlayerView(out + "/view_cow.png", scene, {-6, 3.5f, 48}, {1.4f, 2, 62});
    renderPlayerView(out + "/view_statues.png", scene, {-12, 3.5f, 85}, {0, 2, 97});
    renderPlayerView(out + "/view_greathall.png", scene, {-10, 3.5f, 250}, {-24, 2, 268});
    renderPlayerView(out + "/view_pit.png", scene, {-22.5f, 3.5f, 316}, {-22.5f, 0, 332});
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <Scene folder> <output folder>\n", argv[0]);
        return 2;
    }
    for (const char* name : {"statue", "giantCowHigh", "GiantCowLow", "combine", "combineRotor", "CompanionCube"})
        modelSheet(argv[1], argv[2], name);
    levelMap(argv[1], argv[2]);
    playerViews(argv[1], argv[2]);
    return 0;
}
