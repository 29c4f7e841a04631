#include "app/Arguments.h"
#include "app/MainLoop.h"

int main(int argc, char** argv)
{
    int status = 0;
    Session session;
    if (!readArguments(argc, argv, status, session))
        return status;
    return runGame(session);
}
