#include "app/Arguments.h"

#include <cstring>
#include <string>

#include "core/Console.h"

// VELLMAR_VERSION is set from the project's version in the top CMakeLists.txt.

const char* const usageText =
    "Usage: vellmar [--version | --help]\n"
    "Starts Vellmar, a first-person game of statues that move only while nobody looks at them.\n"
    "  --version  print the game's version and exit\n"
    "  --help     print this text and exit\n"
    "Settings are read from config.ini (see vellmar(6)).";

bool readArguments(int argc, char** argv, int& status)
{
    status = exitPlayed;
    // The first of --version and --help is answered, once every argument is known to be one of them.
    const char* answer = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") != 0 && std::strcmp(argv[i], "--help") != 0)
            fatalError(commandLineFailure, std::string("vellmar: unknown argument: ") + argv[i], usageText);
        if (!answer)
            answer = argv[i];
    }
    if (!answer)
        return true;
    if (std::strcmp(answer, "--version") == 0)
        notice("Vellmar %s", VELLMAR_VERSION);
    else
        notice("%s", usageText);
    return false;
}
