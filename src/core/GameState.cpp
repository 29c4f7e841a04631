#include "core/GameState.h"

double deltaTime = 0.0;
int framesPerSecond = 0;
int framebufferWidth = 0;
int framebufferHeight = 0;

bool paused = false;
bool showHelp = false;
bool showStats = true;
bool wireframe = false;
bool shadowsEnabled = true;
bool showShadowMap = false;

bool optionsOpen = false;

bool dangerNear = false;
bool caught = false;

int mouseSpeedPercent = 100;
int invertLook = 0;
int fieldOfView = 60;
int pictureShape = 0;
int brightnessPercent = 100;
int captions = 0;
int gamepadLookSpeed = 100;
