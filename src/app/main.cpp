#include "app/MainLoop.h"

int main()
{
    return runGame();
}
