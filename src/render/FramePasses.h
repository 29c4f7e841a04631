#pragma once
// The two scene passes of a frame: the shadow pass from the flashlight and the lit pass from the camera.

void renderFrame();
