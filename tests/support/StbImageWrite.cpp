// Third-party code: its own warnings are not ours to fix.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
// The screenshot writer of the game tests.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
