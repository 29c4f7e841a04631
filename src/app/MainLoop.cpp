#include "app/MainLoop.h"
int runGame() { return 0; }
