#include "app/WorldAssembly.h"

#include <glm/gtc/matrix_transform.hpp>

#include "scene/Pursuit.h"
#include "app/Level.h"
#include "core/Console.h"
#include "core/Platform.h"
#include "assets/SceneLoader.h"
#include "assets/ShaderProgram.h"
#include "physics/Player.h"
#include "render/FramePasses.h"
#include "render/Light.h"
#include "render/OverlayImage.h"
#include "core/BoundingBox.h"
#include "scene/Node.h"
#include "scene/Registries.h"

Object* combine = nullptr;
Object* combineRotor = nullptr;
LodObject* giantCow = nullptr;
Crate* crates[level::crateCount] = {};

namespace {

glm::mat4 at(const level::Spot& spot) { return glm::translate(glm::mat4(1.0f), glm::vec3(spot.x, spot.y, spot.z)); }

void addActivator()
{
    const level::Spot& p = level::activators[activators.size()];
    activators.push_back(new Activator(p.x, p.y, p.z));
}

// Activators with their statue groups, in the game's order: the first two activators, the statues
// of no activator (straight into pursuers), then each group's statues, an activator made just
// before its first statue; last, every group's statues join pursuers in activator order.
void placeActivatorsAndStatues()
{
    addActivator();
    addActivator();
    for (const level::StatueSpot& spot : level::statues) {
        while (static_cast<int>(activators.size()) <= spot.activator)
            addActivator();
        PhysicsObject* statue = new PhysicsObject(at({spot.x, level::statueHeight, spot.z}));
        statue->chasing = spot.chasesFromStart;
        if (spot.activator < 0)
            pursuers.push_back(statue);
        else
            activators[spot.activator]->statues.push_back(statue);
    }
    while (activators.size() < static_cast<size_t>(level::activatorCount))
        addActivator();

    for (size_t i = 0; i < activators.size(); ++i)
        for (PhysicsObject* statue : activators[i]->statues)
            pursuers.push_back(statue);
}

}  // namespace

void placeLights()
{
    for (int i = 0; i < 3; ++i)
        lights[i] = new Light(glm::mat4(1.0f), i == 1 ? 0 : 1);
    lights[0]->setLightPosition(-2.0f, 3.0f, 1.0f);
    lights[0]->setLightPower(0.6f, 0.6f, 0.6f);
    lights[0]->setLightDirection(1.0f, 0.0f, 0.0f);
    lights[0]->setCutoff(30.0f);
    lights[2]->setLightPosition(-2.0f, 3.0f, 1.0f);
    lights[2]->setLightPower(7.0f, 7.0f, 7.0f);
    lights[1]->setLightPower(0.3f, 0.3f, 0.3f);
    lights[2]->setLightDirection(0.0f, -0.7f, 0.1f);
    lights[2]->setCutoff(30.0f);
    flashlight = lights[0];
}

void worldAssembly()
{
    // 1. The system cursor is hidden over the game, and the context reported.
    platform->setCursorVisible(false);
    reportContext();

    // 2. Shader programs; the text program must exist before the first image.
    mainProgram = new ShaderProgram("Shader/test.vert", "Shader/test.frag");
    textProgram = new ShaderProgram("Shader/TextShader.vert", "Shader/TextShader.frag");
    depthProgram = new ShaderProgram("Shader/depthShader.vert", "Shader/depthShader.frag");

    // 3. Screen images.
    fontImage = new OverlayImage("Scene/VellmarFontDark.dds");
    helpImage = new OverlayImage("Scene/Infos.dds");
    mouseImage = new OverlayImage("Scene/mouse.dds");
    keysImage = new OverlayImage("Scene/wasd.dds");
    startImage = new OverlayImage("Scene/start.dds");
    pauseImage = new OverlayImage("Scene/pause.dds");
    pauseImage1 = new OverlayImage("Scene/pause1.dds");
    pauseImage2 = new OverlayImage("Scene/pause2.dds");
    pauseImage3 = new OverlayImage("Scene/pause3.dds");
    wonImage = new OverlayImage("Scene/gameWon.dds");
    gameOverImage = new OverlayImage("Scene/gameOver.dds");

    // 4.-5. The frustum plane table, and the loader with its physics world.
    float* planes = new float[24]();
    loader = new sceneLoader();

    // 6. The player, before any node that looks at it.
    const level::Spot& start = level::playerStart;
    player = createPlayer(*loader->physicsWorld, level::playerRadius, start.x, start.y, start.z);

    // 7. The planes from the camera as it stands, shared with the loader's culling.
    frustumPlanes = planes;
    computeViewProjection();
    extractFrustumPlanes();
    loader->frustumPlanes = frustumPlanes;

    // 8. Activators and statues.
    placeActivatorsAndStatues();

    // 9. The hall: every mesh becomes a static box. Without it the player would fall out of the
    // world at once and be shown the won screen.
    const char* hall = "Scene/tutroom.obj";
    if (!loader->loadModel(hall, glm::mat4(1.0f), true, true))
        fatalError(std::string(hall) + " holds the hall: the game cannot be played without it");

    // 10. The harvester with its rotor as a child.
    combine = new Object("Scene/combine.obj", loader, at(level::harvester), true, false);
    combineRotor = new Object("Scene/combineRotor.obj", loader, glm::mat4(1.0f), true, false);
    combine->addChild(combineRotor);

    // 11.-12. The cow and the crates, in the order the frame update steps them.
    giantCow = new LodObject(at(level::cow));
    for (int i = 0; i < level::crateCount; ++i)
        crates[i] = new Crate(at(level::crates[i]));

    // 13.-14. Lights; the first one is the flashlight.
    placeLights();
    buildFixedLightPrograms();

    // 15. The shadow target.
    createShadowTarget();

    // 16. Every model is loaded: what their imports kept for later loads goes back.
    loader->forgetImportedModels();
}

void releaseWorld()
{
    delete mainProgram;
    mainProgram = nullptr;
    for (ShaderProgram*& variant : fixedLightPrograms) {
        delete variant;
        variant = nullptr;
    }
    delete loader;
    loader = nullptr;
    delete lights[0];
    delete lights[2];
    lights[0] = lights[2] = nullptr;
    flashlight = nullptr;
    releaseFontImage();
}
