// The hall as the game's physics sees it: one static box per mesh of tutroom.obj. Everything the world
// places must stand free, the way from the start through the three activators to the pit must be open,
// each activator must guard a narrow doorway, and the pit must let the player fall out of the world.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <queue>
#include <vector>

#include "ContentScene.h"
#include "app/Level.h"

using content::Box;
using glm::vec3;

namespace {

const float playerRadius = 1.0f;
const float eyeAboveCentre = 2.5f;
const float activationRadius = 5.0f;

struct Hall {
    std::vector<Box> boxes;
    // A sphere at p touches no box (resting on a floor top is allowed).
    bool sphereFree(const vec3& p) const
    {
        for (const auto& b : boxes)
            if (content::distanceToBox(p, b) < playerRadius - 1e-3f) return false;
        return true;
    }
    bool floorBelow(float x, float z) const
    {
        for (const auto& b : boxes)
            if (std::fabs(b.hi.y) < 1e-4f && x >= b.lo.x && x <= b.hi.x && z >= b.lo.z && z <= b.hi.z) return true;
        return false;
    }
    float ceilingAbove(float x, float z) const
    {
        float lowest = 1e30f;
        for (const auto& b : boxes)
            if (b.lo.y > 0.5f && x >= b.lo.x && x <= b.hi.x && z >= b.lo.z && z <= b.hi.z) lowest = std::min(lowest, b.lo.y);
        return lowest;
    }
};

Hall loadHall()
{
    Hall hall;
    for (const auto& mesh : content::readGeneratedModel("Scene/tutroom.obj").meshes) hall.boxes.push_back(mesh.bounds);
    return hall;
}

// Bounds of a model placed by a pure translation.
Box placed(const char* model, const vec3& at)
{
    return content::readGeneratedModel(std::string("Scene/") + model).bounds.moved(at);
}

// The statue's touch test: eye within diagonal / 1.5 of the corner (max x, max y, min z).
bool touchesStatue(const vec3& eye, const Box& statue)
{
    vec3 corner(statue.hi.x, statue.hi.y, statue.lo.z);
    return glm::length(eye - corner) < glm::length(statue.size()) / 1.5f;
}

// The game's own placements.
vec3 toVec3(const level::Spot& s) { return vec3(s.x, s.y, s.z); }
const std::vector<vec3> statuePositions = [] {
    std::vector<vec3> v;
    for (const level::StatueSpot& s : level::statues) v.push_back(vec3(s.x, level::statueHeight, s.z));
    return v;
}();
const vec3 cratePositions[] = {toVec3(level::crates[0]), toVec3(level::crates[1]), toVec3(level::crates[2])};
const vec3 activatorPositions[] = {toVec3(level::activators[0]), toVec3(level::activators[1]),
                                   toVec3(level::activators[2])};

// A way a careful player takes: around the statues (which stand still while watched), through the
// three doorways, past the last crate into the pit. Body centres at y = 1.
const vec3 route[] = {{1, 1, 1},       {-4, 1, 12},      {-4, 1, 21},      {-1.9f, 1, 23.6f}, {-1.9f, 1, 28},
                      {-8, 1, 45},     {-8, 1, 75},      {-12.5f, 1, 88},  {-12.5f, 1, 102.8f}, {-1.8f, 1, 103.0f},
                      {-1.8f, 1, 107}, {-5, 1, 120},     {-5, 1, 200},     {-1.8f, 1, 228.5f}, {-1.8f, 1, 232},
                      {-12, 1, 250},   {-16, 1, 262},    {-16, 1, 275},    {-21, 1, 298},     {-22.5f, 1, 305},
                      {-22.5f, 1, 327.5f}};
// Straight on from the end of the route: over the pit, with nothing below.
const vec3 pitPoint{-22.5f, 1, 333};

std::vector<vec3> sampledRoute()
{
    std::vector<vec3> points;
    for (size_t i = 0; i + 1 < std::size(route); ++i) {
        int steps = static_cast<int>(std::ceil(glm::length(route[i + 1] - route[i]) / 0.1f));
        for (int s = 0; s < steps; ++s) points.push_back(route[i] + (route[i + 1] - route[i]) * (float(s) / steps));
    }
    points.push_back(route[std::size(route) - 1]);
    return points;
}

}  // namespace

TEST(ContentLevel, EveryMeshIsASolidBoxAndTheHallStaysInBudget)
{
    auto meshes = content::readGeneratedModel("Scene/tutroom.obj").meshes;
    EXPECT_GE(meshes.size(), 30u);
    EXPECT_LE(meshes.size(), 100u);
    for (const auto& mesh : meshes) {
        // A mesh with vertices inside its bounds would make a static box over open space.
        EXPECT_TRUE(mesh.onBoxSurface()) << mesh.name;
        vec3 size = mesh.bounds.size();
        EXPECT_GT(std::min({size.x, size.y, size.z}), 0.1f) << mesh.name;
    }
}

TEST(ContentLevel, WallsReachTheCeilingSoNoJumpLeavesTheHall)
{
    Hall hall = loadHall();
    for (const auto& b : hall.boxes) {
        bool floor = b.hi.y <= 0.0f, overhead = b.lo.y >= 5.0f;
        if (floor || overhead) continue;
        EXPECT_LE(b.lo.y, 0.0f);
        EXPECT_GE(b.hi.y, 8.0f);
    }
}

TEST(ContentLevel, PlacedObjectsStandInOpenSpace)
{
    Hall hall = loadHall();
    std::vector<std::pair<const char*, Box>> things;
    for (const auto& p : statuePositions) things.push_back({"statue", placed("statue.obj", p)});
    for (const auto& p : cratePositions) things.push_back({"crate", placed("CompanionCube.obj", p)});
    things.push_back({"cow", placed("giantCowHigh.obj", toVec3(level::cow))});
    things.push_back({"cow low", placed("GiantCowLow.obj", toVec3(level::cow))});
    // The harvester stands where the vehicle box comes to rest, and starts far behind the player.
    things.push_back({"harvester", placed("combine.obj", {3, 1, 16})});
    things.push_back({"rotor", placed("combineRotor.obj", {3, 1, 16})});
    things.push_back({"harvester start", placed("combine.obj", {0, 1, -35})});
    things.push_back({"vehicle box", Box{{2, 3, 15}, {4, 5, 17}}});
    things.push_back({"vehicle at rest", Box{{2, 0, 15}, {4, 2, 17}}});
    for (const auto& [name, box] : things)
        for (const auto& wall : hall.boxes) EXPECT_FALSE(content::overlaps(box, wall, 1e-3f)) << name;
    EXPECT_TRUE(hall.sphereFree({1, 1, 1}));
    for (const auto& a : activatorPositions) EXPECT_TRUE(hall.sphereFree(a + vec3(0, 1, 0))) << a.z;
    for (const auto& p : statuePositions) EXPECT_TRUE(hall.floorBelow(p.x, p.z));
    for (const auto& p : cratePositions) EXPECT_TRUE(hall.floorBelow(p.x, p.z));
}

TEST(ContentLevel, RouteFromTheStartPassesEveryActivatorInOrderAndEndsInThePit)
{
    Hall hall = loadHall();
    Box statue = content::readGeneratedModel("Scene/statue.obj").bounds;
    std::vector<vec3> points = sampledRoute();
    size_t nextActivator = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        const vec3& p = points[i];
        ASSERT_TRUE(hall.sphereFree(p)) << "blocked at " << p.x << ", " << p.z;
        vec3 eye = p + vec3(0, eyeAboveCentre, 0);
        for (const auto& s : statuePositions) ASSERT_FALSE(touchesStatue(eye, statue.moved(s))) << p.x << ", " << p.z;
        EXPECT_TRUE(hall.floorBelow(p.x, p.z)) << "no floor at " << p.x << ", " << p.z;
        for (size_t a = 0; a < std::size(activatorPositions); ++a) {
            if (glm::length(eye - activatorPositions[a]) >= activationRadius) continue;
            EXPECT_LE(a, nextActivator) << "activator " << a << " reached out of order";
            if (a == nextActivator) ++nextActivator;
        }
    }
    EXPECT_EQ(nextActivator, std::size(activatorPositions));

    // Walking on from the end of the route leads over the pit, where nothing below stops a falling
    // player before the eye is far below -5.
    vec3 edge = points.back();
    for (float t = 0; t <= 1; t += 0.02f) ASSERT_TRUE(hall.sphereFree(edge + (pitPoint - edge) * t)) << t;
    EXPECT_FALSE(hall.floorBelow(pitPoint.x, pitPoint.z));
    for (float y = 1; y > -60; y -= 0.25f) ASSERT_TRUE(hall.sphereFree({pitPoint.x, y, pitPoint.z})) << y;
}

TEST(ContentLevel, EachActivatorGuardsADoorwayNoWiderThanSixThatFiresWherePassed)
{
    Hall hall = loadHall();
    for (const auto& a : activatorPositions) {
        SCOPED_TRACE(a.z);
        // Find the narrowest cross-section of the hall near the activator: the doorway.
        float bestWidth = 1e30f, bestZ = 0, bestLo = 0, bestHi = 0;
        int bestRuns = 0;
        for (float z = a.z - 4; z <= a.z + 4; z += 0.1f) {
            std::vector<std::pair<float, float>> runs;
            bool open = false;
            for (float x = -60; x <= 60; x += 0.05f) {
                bool free = hall.floorBelow(x, z) && hall.sphereFree({x, 1, z});
                if (free && !open) runs.push_back({x, x});
                if (free) runs.back().second = x;
                open = free;
            }
            float width = 0;
            for (const auto& r : runs) width += r.second - r.first;
            if (!runs.empty() && width < bestWidth) {
                bestWidth = width;
                bestZ = z;
                bestLo = runs.front().first;
                bestHi = runs.back().second;
                bestRuns = static_cast<int>(runs.size());
            }
        }
        // One opening; sphere centres span it minus the radius on each side.
        EXPECT_EQ(bestRuns, 1);
        float doorway = bestHi - bestLo + 2 * playerRadius;
        EXPECT_LE(doorway, 6.0f + 0.1f);
        EXPECT_GE(doorway, 2 * playerRadius + 1.0f);
        EXPECT_NEAR(bestLo + bestHi, 0.0f, 0.1f);
        // Whoever goes through the doorway comes within reach of the activator.
        for (float x : {bestLo, bestHi}) {
            vec3 eye(x, 1 + eyeAboveCentre, bestZ);
            EXPECT_LT(glm::length(eye - a), activationRadius);
        }
    }
}

TEST(ContentLevel, HallIsClosedAllRoundExceptThroughThePit)
{
    // Flood the floor from the start over the positions a player can stand; falling into the pit ends
    // a branch. The flood must never reach the edge of the search area and must find the pit.
    Hall hall = loadHall();
    const float step = 0.5f, x0 = -70, x1 = 40, z0 = -60, z1 = 360;
    int nx = static_cast<int>((x1 - x0) / step), nz = static_cast<int>((z1 - z0) / step);
    std::vector<char> seen(static_cast<size_t>(nx) * nz, 0);
    std::queue<std::pair<int, int>> open;
    auto index = [&](int i, int k) { return static_cast<size_t>(k) * nx + i; };
    int startI = static_cast<int>((1 - x0) / step), startK = static_cast<int>((1 - z0) / step);
    open.push({startI, startK});
    seen[index(startI, startK)] = 1;
    bool pitFound = false;
    while (!open.empty()) {
        auto [i, k] = open.front();
        open.pop();
        float x = x0 + i * step, z = z0 + k * step;
        ASSERT_TRUE(i > 0 && k > 0 && i < nx - 1 && k < nz - 1) << "escaped at " << x << ", " << z;
        if (!hall.floorBelow(x, z)) {
            pitFound = true;
            continue;
        }
        EXPECT_GE(hall.ceilingAbove(x, z), 5.5f) << x << ", " << z;
        const int di[] = {1, -1, 0, 0}, dk[] = {0, 0, 1, -1};
        for (int d = 0; d < 4; ++d) {
            int ni = i + di[d], nk = k + dk[d];
            if (seen[index(ni, nk)]) continue;
            if (!hall.sphereFree({x0 + ni * step, 1, z0 + nk * step})) continue;
            seen[index(ni, nk)] = 1;
            open.push({ni, nk});
        }
    }
    EXPECT_TRUE(pitFound);
}
