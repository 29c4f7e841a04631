// Frame-time benchmark of the whole game: builds the real world in a real window (run it under
// Xvfb), leaves the start screen and plays a fixed route through the start hall with a fixed
// clock, timing each phase of every frame in play; then times a plain clear-and-swap loop in the
// same window as the floor of the machine. Also reports the start-up times and the peak memory.
//
//   frame_benchmark [width height [frames [screenshot folder [render scale]]]]
//                                                defaults: 800 600 600, no folder ("-"), scale 0
//   frame_benchmark --journal FILE [screenshot folder]
//                                                a recorded session in place of the route
//
// A journal (vellmar --record) replaces the route and its fixed clock by the recorded frames, as
// fast as they draw, with the recorded settings (window size and render scale among them).
// The render scale is RENDER_SCALE of config.ini: 0 adapts it to the frame time as the game does,
// 50 to 100 fixes it (100 draws everything at full resolution).
// With a screenshot folder, a few views along the route are saved there as PNG to compare the
// picture before and after a change (saving them is not timed, but it does disturb the timing).
//
// Frames in play alternate. Every other frame is timed phase by phase: GPU work is completed
// (glFinish) at the edges of the drawing phases, so each phase is charged with its own rendering.
// The game itself never waits like this, so the frames between run exactly as in the game and are
// timed whole: those are "frame in play", the figure set against the floor.
//
// After each phased frame the same view is drawn once more with a plain textured program (one
// texture fetch per fragment, no light, no shadow), into the back buffer the next frame clears:
// the lit pass over that plain pass is what the lighting costs, measured beside it in the same run
// and so largely free of the machine's load.
#include <GL/glew.h>
#include <GLFW/glfw3.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/Config.h"
#include "app/JournalPlatform.h"
#include "support/ProcessMeasures.h"
#include "core/FramePhase.h"
#include "app/MainLoop.h"
#include "app/Platform.h"
#include "app/WorldAssembly.h"
#include "physics/Engine.h"
#include "physics/Player.h"
#include "scene/Pursuit.h"
#include "scene/Node.h"
#include "scene/Registries.h"
#include "sound/Sound.h"
#include "assets/Mesh.h"
#include "assets/SceneLoader.h"
#include "assets/ShaderProgram.h"
#include "core/Camera.h"
#include "render/FramePasses.h"
#include "render/RenderScale.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double frameStep = 1.0 / 60.0;

double micros(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::micro>(to - from).count();
}

// Phase clock, filled by the game's phase marks.
std::array<Clock::time_point, framePhaseCount> phaseBegan;
std::array<double, framePhaseCount> phaseMicros;
// Fragments that passed the depth test in each pass: the fragment shader's work.
GLuint fragmentQuery = 0;
GLuint shadowFragments = 0;
GLuint litFragments = 0;
// The camera as the lit pass drew with it, for the plain pass to draw the same view.
glm::mat4 litProjection(1.0f);
glm::mat4 litView(1.0f);

void timePhase(FramePhase phase, bool begins)
{
    if (isDrawingPhase(phase))
        glFinish();
    if (phase == FramePhase::litPass && begins) {
        litProjection = projectionMatrix;
        litView = viewMatrix;
    }
    if (phase == FramePhase::shadowPass || phase == FramePhase::litPass) {
        if (begins) {
            glBeginQuery(GL_SAMPLES_PASSED, fragmentQuery);
        } else {
            glEndQuery(GL_SAMPLES_PASSED);
            glGetQueryObjectuiv(fragmentQuery, GL_QUERY_RESULT,
                                phase == FramePhase::shadowPass ? &shadowFragments : &litFragments);
        }
    }
    const int i = static_cast<int>(phase);
    if (begins) {
        phaseBegan[i] = Clock::now();
    } else {
        phaseMicros[i] += std::chrono::duration<double, std::micro>(Clock::now() - phaseBegan[i]).count();
    }
}

// The lit pass's view once more with the plain textured program, at the same scale and through
// the same culling; returns microseconds and the fragments that passed the depth test.
double drawPlainPass(const ShaderProgram& plain, GLuint& fragments)
{
    // At full scale the game clears the window at the top of the frame, outside its lit pass, so
    // the plain pass's clear is left out of its time too. A scaled pass clears its own target in
    // both.
    const bool wantScaled = sceneScale() < 1.0f;
    if (!wantScaled)
        windowViewport(framebufferWidth, framebufferHeight, true);
    glFinish();
    const Clock::time_point began = Clock::now();
    glBeginQuery(GL_SAMPLES_PASSED, fragmentQuery);
    const bool scaled = wantScaled && beginScaledScene(framebufferWidth, framebufferHeight);
    if (wantScaled && !scaled)
        windowViewport(framebufferWidth, framebufferHeight, true);
    glEnable(GL_DEPTH_TEST);
    glCullFace(GL_BACK);
    glUseProgram(plain.program);
    glUniformMatrix4fv(glGetUniformLocation(plain.program, "projectionMatrix"), 1, GL_FALSE, &litProjection[0][0]);
    glUniformMatrix4fv(glGetUniformLocation(plain.program, "viewMatrix"), 1, GL_FALSE, &litView[0][0]);
    loader->draw(plain.program);
    if (scaled)
        endScaledScene(framebufferWidth, framebufferHeight);
    glEndQuery(GL_SAMPLES_PASSED);
    glGetQueryObjectuiv(fragmentQuery, GL_QUERY_RESULT, &fragments);
    glFinish();
    return micros(began, Clock::now());
}

// The route, frame by frame: walk towards the statue that watches the start, look round at the
// hall and the statues beyond, put the flashlight out and on again, step back and aside.
void scriptFrame(ScriptedPlatform& input, int frame, int frames)
{
    // The route is laid out for 600 frames and stretched or squeezed to the count asked for.
    const int f = frame * 600 / frames;
    const int previous = (frame - 1) * 600 / frames;
    auto reached = [&](int mark) { return f >= mark && (frame == 0 || previous < mark); };
    auto yawBy = [&](double radians) { input.moveCursor(cursorCentreX - radians / mouseSpeed, cursorCentreY); };
    auto pitchBy = [&](double radians) { input.moveCursor(cursorCentreX, cursorCentreY - radians / mouseSpeed); };

    if (reached(0))
        input.press(GLFW_KEY_W);
    if (reached(120))
        input.release(GLFW_KEY_W);
    if (f >= 120 && f < 180)
        yawBy(-0.02);  // to the right
    if (f >= 180 && f < 300)
        yawBy(0.02);  // back and on to the left
    if (reached(240))
        input.tap(GLFW_KEY_F);
    if (f >= 300 && f < 360)
        yawBy(-0.02);  // ahead again
    if (reached(300))
        input.tap(GLFW_KEY_F);
    if (reached(360))
        input.press(GLFW_KEY_S);
    if (reached(420)) {
        input.release(GLFW_KEY_S);
        input.press(GLFW_KEY_A);
    }
    if (reached(480))
        input.release(GLFW_KEY_A);
    if (f >= 480 && f < 510)
        pitchBy(0.01);
    if (f >= 510 && f < 540)
        pitchBy(-0.01);
    if (reached(540))
        input.press(GLFW_KEY_D);
    if (reached(599))
        input.release(GLFW_KEY_D);
}

// The frames of the route (as laid out for 600) whose pictures are saved.
constexpr int screenshotFrames[] = {60, 150, 270, 330, 500};

void saveScreenshot(const std::string& folder, int routeFrame)
{
    int width = 0, height = 0;
    glfwGetFramebufferSize(mainWindow, &width, &height);
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    stbi_flip_vertically_on_write(1);
    const std::string path = folder + "/route_" + std::to_string(routeFrame) + ".png";
    stbi_write_png(path.c_str(), width, height, 3, pixels.data(), width * 3);
}

}  // namespace

int main(int argc, char** argv)
{
    const double mainEntered = secondsSinceProcessStart();
    const Clock::time_point mainClock = Clock::now();
    auto sinceStart = [&](Clock::time_point t) { return mainEntered + micros(mainClock, t) * 1e-6; };

    int width = 800;
    int height = 600;
    int frames = 600;
    std::string screenshotArgument = "-";
    Journal journal;
    const bool journalled = argc >= 3 && std::string(argv[1]) == "--journal";
    if (journalled) {
        std::string reason;
        if (!readJournalFile(argv[2], journal, reason)) {
            std::cerr << argv[2] << ": " << reason << std::endl;
            return 2;
        }
        useSettings(journal.header.settings);
        width = screenWidth;
        height = screenHeight;
        frames = static_cast<int>(journal.frames.size());
        if (argc >= 4)
            screenshotArgument = argv[3];
    } else {
        if (argc >= 3) {
            width = std::atoi(argv[1]);
            height = std::atoi(argv[2]);
        }
        if (argc >= 4)
            frames = std::atoi(argv[3]);
        if (argc >= 5)
            screenshotArgument = argv[4];
        if (argc >= 6)
            renderScaleSetting = std::atoi(argv[5]);
    }
    std::string screenshotFolder;
    if (screenshotArgument != "-") {
        char* absolute = realpath(screenshotArgument.c_str(), nullptr);
        if (absolute == nullptr) {
            std::cerr << "no such folder: " << screenshotArgument << std::endl;
            return 2;
        }
        screenshotFolder = absolute;
        std::free(absolute);
    }
    if (width <= 0 || height <= 0 || frames <= 0 ||
        (renderScaleSetting != 0 && (renderScaleSetting < 50 || renderScaleSetting > 100))) {
        std::cerr << "usage: frame_benchmark [width height [frames [screenshot folder [render scale]]]]\n"
                     "       frame_benchmark --journal FILE [screenshot folder]"
                  << std::endl;
        return 2;
    }
    if (chdir(VELLMAR_RUN_DIR) != 0) {
        std::cerr << "cannot enter the run folder " << VELLMAR_RUN_DIR << std::endl;
        return 2;
    }

    // The game's own console lines would bury the report: they go to /dev/null while it runs.
    std::fflush(stdout);
    const int reportOut = dup(1);
    if (std::freopen("/dev/null", "w", stdout) == nullptr)
        return 2;

    ScriptedPlatform input;
    ReplayPlatform replay(input, journal, false);
    platform = journalled ? static_cast<Platform*>(&replay) : &input;
    // One frame: the journal's next, or the route's (none before the route, at -1) on the fixed clock.
    auto nextFrame = [&](int routeFrame) {
        if (journalled)
            return runFrame();
        if (routeFrame >= 0)
            scriptFrame(input, routeFrame, frames);
        input.now += frameStep;
        return runFrame();
    };
    screenWidth = width;
    screenHeight = height;
    const long mainResident = statusKilobytes("VmRSS:");
    const double mainCpu = processMicros();
    createWindow();
    const Clock::time_point windowReady = Clock::now();
    const long windowResident = statusKilobytes("VmRSS:");
    const ResidentKinds windowKinds = residentKinds();
    const double windowCpu = processMicros();
    worldAssembly();
    // The sound as the game starts it, but mixed on demand: the frame pays for the sound update,
    // never for the mixing, which a real device does on its own thread.
    startSoundLoopback(volume, 48000);
    startFrameLoop();
    const Clock::time_point worldBuilt = Clock::now();
    const long worldResident = statusKilobytes("VmRSS:");
    const double worldCpu = processMicros();

    nextFrame(-1);
    glFinish();
    const Clock::time_point firstPresented = Clock::now();
    const double presentedCpu = processMicros();
    if (journalled) {
        while (showStartScreen && nextFrame(-1)) {
        }
    } else {
        input.tap(GLFW_KEY_ENTER);
        nextFrame(-1);
        nextFrame(-1);
    }
    glFinish();
    const Clock::time_point firstInPlay = Clock::now();
    const long playResident = statusKilobytes("VmRSS:");
    const double playCpu = processMicros();

    // The route, timed phase by phase.
    std::array<Samples, framePhaseCount> phases;
    // The phase marks' glFinish calls and fragment queries keep the game's own thread idle while
    // the renderer's threads draw: only the other frames show the game's own frame time.
    Samples frameTimes;
    Samples frameCpuTimes;
    Samples gameThreadCpuTimes;
    Samples phasedFrameTimes;
    Samples shadowFragmentCounts;
    Samples litFragmentCounts;
    Samples renderScales;
    Samples plainTimes;
    Samples plainFragmentCounts;
    Samples litToPlain;
    const ShaderProgram plainProgram(VELLMAR_BENCH_DIR "/shaders/plainTextured.vert",
                                     VELLMAR_BENCH_DIR "/shaders/plainTextured.frag");
    glGenQueries(1, &fragmentQuery);
    int played = 0;
    for (bool more = true; played < frames && more; ++played) {
        const int frame = played;
        const bool phased = frame % 2 == 1;
        framePhaseHook = phased ? timePhase : nullptr;
        phaseMicros.fill(0.0);
        const double cpuBegan = processMicros();
        const double gameThreadBegan = threadMicros();
        const Clock::time_point began = Clock::now();
        more = nextFrame(frame);
        // Nothing is left to draw after the swap; this only makes sure, as in the floor's loop.
        glFinish();
        if (phased) {
            phasedFrameTimes.add(micros(began, Clock::now()));
            for (int i = 0; i < framePhaseCount; ++i)
                phases[i].add(phaseMicros[i]);
            shadowFragmentCounts.add(shadowFragments);
            litFragmentCounts.add(litFragments);
        } else {
            frameTimes.add(micros(began, Clock::now()));
            frameCpuTimes.add(processMicros() - cpuBegan);
            gameThreadCpuTimes.add(threadMicros() - gameThreadBegan);
        }
        renderScales.add(renderScale);
        if (!screenshotFolder.empty()) {
            for (int shot : screenshotFrames) {
                if (frame == shot * frames / 600)
                    saveScreenshot(screenshotFolder, shot);
            }
        }
        if (phased) {
            GLuint fragments = 0;
            const double plain = drawPlainPass(plainProgram, fragments);
            plainTimes.add(plain);
            plainFragmentCounts.add(fragments);
            litToPlain.add(phaseMicros[static_cast<int>(FramePhase::litPass)] / plain);
        }
    }
    framePhaseHook = nullptr;
    frames = played;
    const bool stillInPlay = !caught && !player->fellOut && !showStartScreen;
    const glm::vec3 where = player->body->getGlobalPose().p;

    // The floor: clearing and presenting the same window, nothing else.
    Samples floorTimes;
    Samples floorCpuTimes;
    for (int frame = 0; frame < frames; ++frame) {
        const double cpuBegan = processMicros();
        const Clock::time_point began = Clock::now();
        windowViewport(framebufferWidth, framebufferHeight, true);
        glfwSwapBuffers(mainWindow);
        glFinish();
        floorTimes.add(micros(began, Clock::now()));
        floorCpuTimes.add(processMicros() - cpuBegan);
    }

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const std::string renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));

    std::fflush(stdout);
    dup2(reportOut, 1);
    std::ostringstream out;
    char line[256];
    std::string cpu = "unknown";
    {
        std::ifstream info("/proc/cpuinfo");
        std::string text;
        while (std::getline(info, text)) {
            if (text.rfind("model name", 0) == 0) {
                cpu = text.substr(text.find(':') + 2);
                break;
            }
        }
    }
    const char* threads = std::getenv("LP_NUM_THREADS");
    out << "Vellmar frame benchmark\n";
    out << "machine: " << cpu << ", " << sysconf(_SC_NPROCESSORS_ONLN) << " cores, " << renderer
        << ", LP_NUM_THREADS=" << (threads ? threads : "unset") << "\n";
    if (journalled)
        std::snprintf(line, sizeof line, "window: %d x %d, %d frames in play of the journal %s, on its clock\n",
                      framebufferWidth, framebufferHeight, frames, argv[2]);
    else
        std::snprintf(line, sizeof line, "window: %d x %d, %d frames in play at a fixed %.4f s step\n",
                      framebufferWidth, framebufferHeight, frames, frameStep);
    out << line;
    std::snprintf(line, sizeof line, "route: %s, player at (%.1f, %.1f, %.1f), %zu statues\n",
                  stillInPlay ? "still in play" : "ended early (caught or fell)", where.x, where.y, where.z,
                  pursuers.size());
    out << line;
    out << "\nstart-up: wall clock since the process started, processor time of all threads, resident memory\n";
    std::snprintf(line, sizeof line, "  main entered        %8.3f s %8.3f s %6ld MB\n", mainEntered, mainCpu * 1e-6,
                  mainResident / 1024);
    out << line;
    std::snprintf(line, sizeof line, "  window and context  %8.3f s %8.3f s %6ld MB\n", sinceStart(windowReady),
                  windowCpu * 1e-6, windowResident / 1024);
    out << line;
    std::snprintf(line, sizeof line, "  world built         %8.3f s %8.3f s %6ld MB\n", sinceStart(worldBuilt),
                  worldCpu * 1e-6, worldResident / 1024);
    out << line;
    std::snprintf(line, sizeof line, "  first frame shown   %8.3f s %8.3f s\n", sinceStart(firstPresented),
                  presentedCpu * 1e-6);
    out << line;
    std::snprintf(line, sizeof line, "  first frame in play %8.3f s %8.3f s %6ld MB\n", sinceStart(firstInPlay),
                  playCpu * 1e-6, playResident / 1024);
    out << line;
    std::snprintf(line, sizeof line, "peak memory: %ld MB resident (ru_maxrss %ld KB, VmHWM %ld KB)\n",
                  usage.ru_maxrss / 1024, usage.ru_maxrss, statusKilobytes("VmHWM:"));
    out << "\n" << line;
    const ResidentKinds endKinds = residentKinds();
    std::snprintf(line, sizeof line,
                  "resident by kind: heap and anonymous, libLLVM, other files (MB)\n"
                  "  window and context  %6ld %6ld %6ld\n  at the end          %6ld %6ld %6ld\n",
                  windowKinds.heapKilobytes / 1024, windowKinds.compilerKilobytes / 1024,
                  windowKinds.otherFileKilobytes / 1024, endKinds.heapKilobytes / 1024,
                  endKinds.compilerKilobytes / 1024, endKinds.otherFileKilobytes / 1024);
    out << line;

    std::snprintf(line, sizeof line,
                  "fragments shaded per frame (median): shadow pass %.0f (%.2f per texel), lit pass %.0f (%.2f per "
                  "pixel)\n",
                  shadowFragmentCounts.percentile(50),
                  shadowFragmentCounts.percentile(50) / (static_cast<double>(shadowSide) * shadowSide),
                  litFragmentCounts.percentile(50),
                  litFragmentCounts.percentile(50) / (static_cast<double>(framebufferWidth) * framebufferHeight));
    out << line;
    std::snprintf(line, sizeof line, "  plain textured pass %.0f (%.2f per pixel)\n", plainFragmentCounts.percentile(50),
                  plainFragmentCounts.percentile(50) / (static_cast<double>(framebufferWidth) * framebufferHeight));
    out << line;
    std::snprintf(line, sizeof line, "render scale (RENDER_SCALE=%d): median %.2f, smallest %.2f, at the end %.2f\n",
                  renderScaleSetting, renderScales.percentile(50), renderScales.percentile(0), renderScale);
    out << line;
    out << "\nper frame, microseconds\n";
    out << frameTimesHeading();
    for (int i = 0; i < framePhaseCount; ++i)
        out << frameTimesRow(framePhaseNames[i], phases[i]);
    out << frameTimesRow("plain textured pass", plainTimes);
    out << frameTimesRow("frame, phases timed", phasedFrameTimes);
    out << frameTimesRow("frame in play", frameTimes);
    out << frameTimesRow("clear and swap", floorTimes);
    out << frameTimesRow("frame CPU, all thr.", frameCpuTimes);
    out << frameTimesRow("frame CPU, game thr.", gameThreadCpuTimes);
    out << frameTimesRow("floor CPU, all thr.", floorCpuTimes);
    const double fps = frameTimes.micros.size() / (frameTimes.total() * 1e-6);
    const double floorFps = frames / (floorTimes.total() * 1e-6);
    std::snprintf(line, sizeof line, "\nframes per second: %.1f in play, %.1f clear and swap\n", fps, floorFps);
    out << line;
    std::snprintf(line, sizeof line, "frame in play / floor (medians): %.1f x\n",
                  frameTimes.percentile(50) / floorTimes.percentile(50));
    out << line;
    std::snprintf(line, sizeof line,
                  "lit pass / plain textured pass: %.2f x (medians), per frame median %.2f x, p95 %.2f x\n",
                  phases[static_cast<int>(FramePhase::litPass)].percentile(50) / plainTimes.percentile(50),
                  litToPlain.percentile(50), litToPlain.percentile(95));
    out << line;
    std::snprintf(line, sizeof line, "load average over the last minute: %.2f\n", loadAverage());
    out << line;
    if (journalled)
        out << replay.report() << "\n";
    std::cout << out.str() << std::flush;
    std::_Exit(0);
}
