#include "app/MainLoop.h"

#include <cstdio>
#include <filesystem>

#include "app/Config.h"
#include "app/ConfigFolder.h"
#include "core/Console.h"
#include "core/FramePhase.h"
#include "core/Input.h"
#include "app/FrameUpdate.h"
#include "app/Gamepad.h"
#include "app/JournalPlatform.h"
#include "app/KeyboardCommands.h"
#include "app/OptionsPage.h"
#include "app/Platform.h"
#include "core/Camera.h"
#include "app/RunFolder.h"
#include "app/Timedemo.h"
#include "app/Window.h"
#include "app/WorldAssembly.h"
#include "render/FramePasses.h"
#include "render/Hud.h"
#include "render/RenderScale.h"
#include "scene/Node.h"
#include "sound/Sound.h"

bool running = true;
bool showStartScreen = true;

namespace {

double lastFrameTime = 0.0;

unsigned frameCount = 0;
double nextFpsTime = 0.0;


// The snapshot before the first counts every key and button held: one already down when the game
// starts is a press only once it was seen up.
InputSnapshot heldAtStart()
{
    InputSnapshot start;
    start.keysHeld.set();
    start.buttonsHeld.set();
    start.pad.buttons.set();
    return start;
}

void startScreenPass(const InputSnapshot& input)
{
    drawStartScreen();
    if (input.pressed(keys::enter) || input.padPressed[pad::south] || input.padPressed[pad::start])
        showStartScreen = false;
}

// The game's config.ini, named on the console when there is one to read.
void readSettings()
{
    const std::filesystem::path path = configFilePath();
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error))
        notice("Reading the settings in %s", std::filesystem::absolute(path, error).c_str());
    readConfig(path);
}

}  // namespace

InputSnapshot frameInput = heldAtStart();

void startFrameLoop()
{
    nextFpsTime = platform->getTime() + 1.0;
    frameCount = 0;
}

bool runFrame()
{
    // 1. The close button ends the loop before anything of this pass runs.
    if (platform->windowShouldClose())
        return false;

    // 2. Events, then the frame's input, read from the platform here and nowhere else.
    platform->pollEvents();
    frameInput = takeInput(*platform, frameInput, watchGamepads(*platform));
    const InputSnapshot& input = frameInput;

    // 3.-4. Viewport over the whole framebuffer, cleared; the frame clock.
    framebufferWidth = input.framebufferWidth;
    framebufferHeight = input.framebufferHeight;
    windowViewport(framebufferWidth, framebufferHeight, true);
    deltaTime = input.time - lastFrameTime;
    lastFrameTime = input.time;

    // 5. Escape ends the loop after this pass, swap included.
    running = !input.held(keys::escape);

    // 6. Frame-rate sample; start-screen passes count too.
    if (input.time > nextFpsTime) {
        framesPerSecond = static_cast<int>(frameCount);
        nextFpsTime = input.time + 1.0;
        frameCount = 0;
    }
    ++frameCount;

    // 7. Either the start screen, or one frame of play: update (player, pursuit, physics, exhibits),
    //    command keys, the two passes, the resolution the pause menu chose, HUD and sound.
    if (showStartScreen) {
        startScreenPass(input);
    } else {
        updateRenderScale();
        markFramePhase(FramePhase::update, true);
        frameUpdate(input);
        markFramePhase(FramePhase::update, false);
        markFramePhase(FramePhase::keyboardCommands, true);
        keyboardCommands(input, optionsOpen && optionsTakeKeys());
        markFramePhase(FramePhase::keyboardCommands, false);
        // The pause menu is drawn in the frame that P paused: its cursor shows with it.
        platform->setCursorVisible(paused);
        const ResolutionChoice chosen = renderFrame(input);
        if (chosen.width > 0)
            setResolution(chosen.width, chosen.height);
        if (chosen.options)
            openOptions();
        // The options page over the scene while paused; ending the pause leaves it.
        if (optionsOpen && paused)
            optionsPage(input);
        else if (optionsOpen)
            leaveOptions();
        markFramePhase(FramePhase::hud, true);
        drawHud(input);
        markFramePhase(FramePhase::hud, false);
        // The sound follows what the frame did; the start screen keeps the ambience it began with.
        markFramePhase(FramePhase::sound, true);
        soundUpdate(deltaTime, combine, giantCow);
        markFramePhase(FramePhase::sound, false);
        // The render scale is timed on the work up to here, before the swap's wait for the display.
        timeFrameWork();
    }

    // 8. Present; OpenGL errors are not reported.
    markFramePhase(FramePhase::swap, true);
    presentFrame();
    markFramePhase(FramePhase::swap, false);
    discardGlErrors();

    // 9. The frame is over for the platform too: a journal keeps its input and the world it left.
    platform->endFrame(input);
    return running;
}

void setResolution(int width, int height)
{
    framebufferWidth = width;
    framebufferHeight = height;
    windowViewport(width, height, false);
    platform->setWindowSize(width, height);
}

void shutdown()
{
    // Quitting from the options page leaves it too.
    if (optionsOpen)
        leaveOptions();
    stopSound();
    releaseWorld();
    closeWindow();
    consolePause();
}

int runGame(const Session& session)
{
    // Line-buffered, so the console shows each line as it happens even through a pipe.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    enterRunFolder();
    readSettings();
    platform = openSession(session, *platform);
    optionsSaveOnLeaving = session.mode == SessionMode::play || session.mode == SessionMode::record;
    createWindow();
    if (session.mode == SessionMode::timedemo)
        presentWithoutWaiting();
    loadGamepadMappings(*platform, configFilePath().parent_path() / "gamecontrollerdb.txt");
    worldAssembly();
    startSound(volume);
    startFrameLoop();
    const bool timed = session.mode == SessionMode::timedemo;
    for (bool more = running; more;) {
        if (timed)
            beginTimedFrame(!showStartScreen);
        more = runFrame();
        if (timed)
            endTimedFrame();
    }
    if (timed)
        notice("%s", timedemoReport().c_str());
    const int status = closeSession();
    shutdown();
    return status;
}
