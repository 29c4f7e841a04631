#include "app/Arguments.h"
#include "app/MainLoop.h"

int main(int argc, char** argv)
{
    int status = 0;
    if (!readArguments(argc, argv, status))
        return status;
    return runGame();
}
