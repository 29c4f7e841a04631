#pragma once
// Everything the game asks of the window system's input, timer and window goes through `platform`:
// keys, the mouse button, the cursor, the clock, the window's size, visibility and close flag. Only src/app
// talks to the window library; it plugs in its own platform, tests and benchmarks a scripted one.
// A frame's input is read from here once, by takeInput (core/Input.h).

// The key, button and action codes the game uses. They have the window library's values, so a
// platform passes them through unchanged.
namespace keys {
constexpr int space = 32;
constexpr int a = 65;
constexpr int c = 67;
constexpr int d = 68;
constexpr int f = 70;
constexpr int g = 71;
constexpr int h = 72;
constexpr int i = 73;
constexpr int m = 77;
constexpr int n = 78;
constexpr int p = 80;
constexpr int r = 82;
constexpr int s = 83;
constexpr int w = 87;
constexpr int escape = 256;
constexpr int enter = 257;
constexpr int right = 262;
constexpr int left = 263;
constexpr int down = 264;
constexpr int up = 265;
constexpr int f1 = 290;
constexpr int f2 = 291;
constexpr int f3 = 292;
constexpr int f6 = 295;
constexpr int f8 = 297;
constexpr int leftShift = 340;
}  // namespace keys

constexpr int mouseButtonLeft = 0;
constexpr int joystickSlots = 16;
constexpr int keyRelease = 0;
constexpr int keyPress = 1;

struct GamepadState;
struct InputSnapshot;

class Platform {
public:
    virtual ~Platform() = default;
    // keyPress or keyRelease, with sticky keys: a key pressed and released between two polls
    // reads as pressed once.
    virtual int getKey(int key) = 0;
    virtual int getMouseButton(int button) = 0;
    virtual void getCursorPos(double* x, double* y) = 0;
    virtual void setCursorPos(double x, double y) = 0;
    virtual void setCursorVisible(bool visible) = 0;
    virtual double getTime() = 0;
    virtual bool windowShouldClose() = 0;
    // Whether the window has the keyboard and mouse; only then can the cursor be put back.
    virtual bool windowFocused() = 0;
    // Whether the window is shown (H hides it for a few seconds).
    virtual bool windowVisible() = 0;
    virtual void pollEvents() = 0;
    // The size in pixels of what the game draws into; 0 x 0 without a window.
    virtual void getFramebufferSize(int* width, int* height) = 0;
    // Resizes the game's window, when there is one.
    virtual void setWindowSize(int width, int height) = 0;
    // The joystick in that slot (0 to joystickSlots - 1): its name, nullptr when none is there; its
    // buttons and axes in the gamepad layout, false when the window library has no mapping for it.
    virtual const char* joystickName(int slot) = 0;
    virtual bool getGamepadState(int slot, GamepadState* state) = 0;
    // Adds mapping lines in SDL's game-controller format; false when the library refused one.
    virtual bool addGamepadMappings(const char* text) = 0;
    // The frame that took this input has ended (after its swap); a journal keeps it here.
    virtual void endFrame(const InputSnapshot&) {}
};

// The window library's platform in the game; a scripted one in tests and benchmarks.
extern Platform* platform;
