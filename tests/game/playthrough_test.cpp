// Whole games played as a player plays them: keys held and released, the mouse moved to turn,
// a fixed frame time, and nothing but the keyboard and mouse ever touching the game. The pilot
// below reads where things are, as a player sees them, and steers with the keys.
#include <chrono>
#include <cmath>
#include <functional>
#include <map>
#include <vector>

#include <glm/geometric.hpp>
#include <glm/vec2.hpp>

#include "WorldHarness.h"
#include "app/FrameUpdate.h"
#include "app/KeyboardCommands.h"

namespace {

constexpr double frameTime = 1.0 / 30.0;
constexpr float pi = 3.14159265f;
// The largest turn of one frame: a quarter turn takes two frames, a brisk flick of the mouse.
constexpr float quickestTurn = pi / 4.0f;
// Past this share of a key's direction the key is held: eight ways to walk, none more than
// 22.5 degrees off the way wanted.
const float keyShare = std::cos(3.0f * pi / 8.0f);

float wrapAngle(float a)
{
    while (a > pi)
        a -= 2.0f * pi;
    while (a < -pi)
        a += 2.0f * pi;
    return a;
}

glm::vec2 flat(const glm::vec3& p) { return {p.x, p.z}; }

// The yaw that looks from one floor point to another (the view looks along (sin yaw, cos yaw)).
float yawTowards(glm::vec2 from, glm::vec2 to) { return std::atan2(to.x - from.x, to.y - from.y); }

std::vector<size_t> range(size_t first, size_t count)
{
    std::vector<size_t> indices;
    for (size_t i = first; i < first + count; ++i)
        indices.push_back(i);
    return indices;
}

// Statue indices in `pursuers`: the one before door 1, the gallery's, the twelve of the cow
// hall, the six of the great hall.
const std::vector<size_t> doorStatue{0};
const std::vector<size_t> cowHallStatues = range(2, 12);
const std::vector<size_t> greatHallStatues = range(14, 6);

}  // namespace

class Playthrough : public WorldTest {
protected:
    using Look = std::function<float()>;

    int playedFrames = 0;
    float closestCall = 1e9f;

    glm::vec2 here() const { return flat(playerPosition()); }

    // Looks at the middle of a group of statues, so that the whole group is in view when it fits.
    Look watch(const std::vector<size_t>& group) const
    {
        return [this, group]() {
            glm::vec2 centre(0.0f);
            for (size_t i : group)
                centre += flat(statuePosition(i));
            centre /= static_cast<float>(group.size());
            const float middle = yawTowards(here(), centre);
            float lowest = 0.0f, highest = 0.0f;
            for (size_t i : group) {
                const float a = wrapAngle(yawTowards(here(), flat(statuePosition(i))) - middle);
                lowest = std::min(lowest, a);
                highest = std::max(highest, a);
            }
            return middle + 0.5f * (lowest + highest);
        };
    }

    Look lookAwayFrom(const std::vector<size_t>& group) const
    {
        Look towards = watch(group);
        return [towards]() { return towards() + pi; };
    }

    Look lookAt(glm::vec2 point) const
    {
        return [this, point]() { return yawTowards(here(), point); };
    }


    float nearestOf(const std::vector<size_t>& group) const
    {
        float nearest = 1e9f;
        for (size_t i : group)
            nearest = std::min(nearest, horizontalDistanceToStatue(i));
        return nearest;
    }

    void hold(int key, bool down)
    {
        if (held[key] == down)
            return;
        held[key] = down;
        if (down)
            input.press(key);
        else
            input.release(key);
    }

    // One frame of play: the mouse turns towards `wantedYaw` (as far as a flick goes) and the
    // keys walk along `way` relative to the new view.
    void step(float wantedYaw, glm::vec2 way)
    {
        const float turnBy = std::clamp(wrapAngle(wantedYaw - yaw), -quickestTurn, quickestTurn);
        turn(turnBy);
        const float newYaw = yaw + turnBy;
        const glm::vec2 forward(std::sin(newYaw), std::cos(newYaw));
        const glm::vec2 right(std::sin(newYaw - 1.57f), std::cos(newYaw - 1.57f));
        float f = 0.0f, r = 0.0f;
        if (glm::length(way) > 0.0f) {
            const glm::vec2 n = glm::normalize(way);
            f = glm::dot(n, forward);
            r = glm::dot(n, right);
        }
        hold(GLFW_KEY_W, f > keyShare);
        hold(GLFW_KEY_S, f < -keyShare);
        hold(GLFW_KEY_D, r > keyShare);
        hold(GLFW_KEY_A, r < -keyShare);
        frame(frameTime);
        ++playedFrames;
        for (size_t i = 0; i < pursuers.size(); ++i)
            closestCall = std::min(closestCall, horizontalDistanceToStatue(i));
    }

    // Walks to a floor point while looking where `look` says. A player walks at 3 units a second
    // (4.2 on a diagonal); the walk may take a little longer than the straight line at that pace.
    void walkTo(glm::vec2 to, const Look& look, float within = 0.3f)
    {
        const int budget = static_cast<int>(glm::length(to - here()) / 2.5f / frameTime) + 30;
        for (int i = 0; glm::length(to - here()) > within; ++i) {
            ASSERT_LT(i, budget) << "stuck at (" << here().x << ", " << here().y << ") on the way to (" << to.x
                                 << ", " << to.y << ")";
            ASSERT_FALSE(caught) << "caught by statue " << player->caughtBy << " at (" << here().x << ", "
                                 << here().y << ") on the way to (" << to.x << ", " << to.y << ")";
            step(look(), to - here());
        }
    }

    // The walk is drawn into a small window without shadows, which the software renderer draws
    // many times faster; the rules do not depend on either. Pictures are taken full size.
    void playSmall()
    {
        input.tap(GLFW_KEY_F6);
        step(yaw, glm::vec2(0.0f));
        ASSERT_FALSE(shadowsEnabled);
        glfwSetWindowSize(mainWindow, 80, 60);
    }

    void snapshot(const std::string& name, const Look& look)
    {
        glfwSetWindowSize(mainWindow, 800, 600);
        input.tap(GLFW_KEY_F6);
        stand(3, look);
        screenshot(name);
        input.tap(GLFW_KEY_F6);
        stand(1, look);
        glfwSetWindowSize(mainWindow, 80, 60);
    }

    // Stands still for a while, looking where `look` says.
    void stand(int frameCount, const Look& look)
    {
        for (int i = 0; i < frameCount; ++i)
            step(look(), glm::vec2(0.0f));
    }

    std::map<int, bool> held;
};

// From the start screen through the three doorways to the pit, keeping every awake statue in
// view except when luring a group out of the way on purpose.
TEST_F(Playthrough, WalksPastAllThreeActivatorsToThePitAndFallsOut)
{
    const auto started = std::chrono::steady_clock::now();
    play();
    ASSERT_NO_FATAL_FAILURE(playSmall());
    snapshot("playthrough_start", watch(doorStatue));

    // Round the statue before door 1, never letting it out of sight, until the eye is within
    // reach of activator 0: the statue falls asleep and the cow hall's twelve wake. On the first
    // frame of play the camera has not looked yet, so the statue turned to face the start: its
    // touching corner is now on its west side, and the way round is east of it, past the
    // vehicle box.
    ASSERT_NO_FATAL_FAILURE(walkTo({5.5f, 13.0f}, watch(doorStatue)));
    ASSERT_NO_FATAL_FAILURE(walkTo({5.5f, 18.0f}, watch(doorStatue)));
    ASSERT_NO_FATAL_FAILURE(walkTo({2.6f, 20.3f}, watch(doorStatue)));
    snapshot("playthrough_door_statue", watch(doorStatue));
    EXPECT_FALSE(pursuers[0]->chasing);
    for (size_t i : cowHallStatues)
        EXPECT_TRUE(pursuers[i]->chasing);

    // Through door 1 past the crate, watching the twelve through the wall.
    ASSERT_NO_FATAL_FAILURE(walkTo({1.7f, 23.5f}, watch(cowHallStatues)));
    ASSERT_NO_FATAL_FAILURE(walkTo({1.7f, 28.0f}, watch(cowHallStatues)));
    ASSERT_NO_FATAL_FAILURE(walkTo({0.0f, 32.0f}, watch(cowHallStatues)));
    snapshot("playthrough_cow_hall", watch(cowHallStatues));

    // The twelve stand before door 2. Turn away for a moment so that they come forward, then
    // face them again and walk round them along the east wall.
    const glm::vec2 lureSpot = here();
    stand(24, lookAwayFrom(cowHallStatues));
    stand(4, watch(cowHallStatues));
    snapshot("playthrough_lured", watch(cowHallStatues));
    for (size_t i : cowHallStatues)
        EXPECT_LT(statuePosition(i).z, 90.0f) << "statue " << i << " came forward";
    EXPECT_GT(nearestOf(cowHallStatues), 15.0f) << "the lure stopped short of the player at " << lureSpot.y;
    ASSERT_NO_FATAL_FAILURE(walkTo({12.0f, 45.0f}, watch(cowHallStatues)));
    ASSERT_NO_FATAL_FAILURE(walkTo({12.0f, 100.0f}, watch(cowHallStatues)));
    ASSERT_NO_FATAL_FAILURE(walkTo({1.0f, 102.5f}, watch(cowHallStatues)));
    for (size_t i = 0; i < pursuers.size(); ++i)
        EXPECT_FALSE(pursuers[i]->chasing) << "activator 1 puts statue " << i << " to sleep";

    // The gallery: nothing chases. Round the sleeping statue at z 187 on its west side.
    ASSERT_NO_FATAL_FAILURE(walkTo({0.0f, 108.0f}, lookAt({0.0f, 200.0f})));
    ASSERT_NO_FATAL_FAILURE(walkTo({-4.0f, 112.0f}, lookAt({-4.0f, 200.0f})));
    ASSERT_NO_FATAL_FAILURE(walkTo({-4.0f, 224.0f}, lookAt({-4.0f, 240.0f})));
    snapshot("playthrough_gallery_end", lookAt({-4.0f, 240.0f}));

    // Door 3 wakes the great hall's six: watch them from the moment the eye comes in reach.
    ASSERT_NO_FATAL_FAILURE(walkTo({-1.0f, 225.5f}, watch(greatHallStatues)));
    ASSERT_NO_FATAL_FAILURE(walkTo({0.0f, 234.0f}, watch(greatHallStatues)));
    for (size_t i : greatHallStatues)
        EXPECT_TRUE(pursuers[i]->chasing);
    snapshot("playthrough_great_hall", watch(greatHallStatues));

    // They stand before the pit corridor: lure them towards the door, then go round them on the
    // west side and back into the corridor with the group in view.
    stand(30, lookAwayFrom(greatHallStatues));
    stand(4, watch(greatHallStatues));
    snapshot("playthrough_great_hall_lured", watch(greatHallStatues));
    EXPECT_GT(nearestOf(greatHallStatues), 10.0f);
    ASSERT_NO_FATAL_FAILURE(walkTo({-33.0f, 236.0f}, watch(greatHallStatues)));
    ASSERT_NO_FATAL_FAILURE(walkTo({-33.0f, 296.0f}, watch(greatHallStatues)));
    ASSERT_NO_FATAL_FAILURE(walkTo({-25.0f, 299.0f}, watch(greatHallStatues)));
    ASSERT_NO_FATAL_FAILURE(walkTo({-28.0f, 316.0f}, watch(greatHallStatues)));
    snapshot("playthrough_corridor", watch(greatHallStatues));
    ASSERT_NO_FATAL_FAILURE(walkTo({-28.0f, 327.0f}, watch(greatHallStatues)));

    // Backwards over the edge, still watching.
    const int fallBudget = 90;
    for (int i = 0; i < fallBudget && !player->fellOut; ++i) {
        ASSERT_FALSE(caught);
        step(watch(greatHallStatues)(), glm::vec2(0.0f, 1.0f));
    }
    snapshot("won", watch(greatHallStatues));

    EXPECT_TRUE(player->fellOut);
    EXPECT_FALSE(caught);
    EXPECT_LT(playedFrames, 4500);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::cout << "played " << playedFrames << " frames in " << seconds << " s; closest statue " << closestCall
              << std::endl;
}

// Turning one's back on the statue that chases from the start lets it come and end the game.
TEST_F(Playthrough, TurningTheBackOnTheChasingStatueIsCaught)
{
    const auto started = std::chrono::steady_clock::now();
    play();
    ASSERT_NO_FATAL_FAILURE(playSmall());
    const glm::vec3 statueStart = statuePosition(0);
    stand(30, watch(doorStatue));
    EXPECT_LT(glm::length(flat(statuePosition(0)) - flat(statueStart)), 0.1f) << "a watched statue stands still";

    const int budget = 150;
    for (int i = 0; i < budget && !caught; ++i)
        step(lookAwayFrom(doorStatue)(), glm::vec2(0.0f, -1.0f));
    snapshot("caught", lookAwayFrom(doorStatue));

    EXPECT_TRUE(caught);
    EXPECT_EQ(player->caughtBy, 0);
    EXPECT_FALSE(player->fellOut);
    EXPECT_LT(playedFrames, 30 + budget);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::cout << "played " << playedFrames << " frames in " << seconds << " s" << std::endl;
}
