#pragma once
// The process-wide flags and frame figures that subsystems below the application shell read. Each
// group is written by one place only, named above it.

// The frame loop's figures (app/MainLoop.cpp, which also applies the pause menu's resolution).
extern double deltaTime;
extern int framesPerSecond;
extern int framebufferWidth;
extern int framebufferHeight;

// The switches of the keyboard commands (app/KeyboardCommands.cpp).
extern bool paused;
extern bool showHelp;
extern bool showStats;
extern bool wireframe;
extern bool shadowsEnabled;
extern bool showShadowMap;

// The pause menu's options page is open in place of the menu (app/OptionsPage.cpp).
extern bool optionsOpen;

// The statues' pursuit (scene/Pursuit.cpp): some statue is near the player's eye this frame; a
// statue touched the player, and the game is lost for good.
extern bool dangerNear;
extern bool caught;

// The player's settings (app/Config.cpp reads them from config.ini; the pause menu's options page
// changes them). Each one's default leaves the game exactly as it plays without it.
extern int mouseSpeedPercent;  // MOUSE_SPEED, 10-400: the mouse's turn per pixel in percent
extern int invertLook;         // INVERT_LOOK, 0 or 1: 1 looks down when the mouse moves up
extern int fieldOfView;        // FIELD_OF_VIEW, 40-100: the camera's vertical angle in degrees
extern int pictureShape;       // PICTURE_SHAPE, 0 or 1: 0 a 4:3 picture over any window, 1 the window's own shape
extern int brightnessPercent;  // BRIGHTNESS, 50-200: a curve over the 3D scene in percent, 100 none
extern int captions;           // CAPTIONS, 0 or 1: captions for the sounds that matter
extern int gamepadLookSpeed;   // GAMEPAD_LOOK_SPEED, 10-400: the right stick's turn in percent
