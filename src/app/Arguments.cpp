#include "app/Arguments.h"

#include <cstring>
#include <filesystem>
#include <string>

#include "core/Console.h"

// VELLMAR_VERSION is set from the project's version in the top CMakeLists.txt.
const char* const gameVersion = VELLMAR_VERSION;

const char* const usageText =
    "Usage: vellmar [--version | --help | --record FILE | --replay FILE | --timedemo FILE]\n"
    "Starts Vellmar, a first-person game of statues that move only while nobody looks at them.\n"
    "  --version        print the game's version and exit\n"
    "  --help           print this text and exit\n"
    "  --record FILE    play, and keep every frame's input in the journal FILE (a new file)\n"
    "  --replay FILE    play the journal FILE back as recorded and say whether it matches\n"
    "  --timedemo FILE  play the journal FILE back as fast as it draws and print the frame times\n"
    "Settings are read from config.ini (see vellmar(6)).";

namespace {

struct JournalOption {
    const char* name;
    SessionMode mode;
};
constexpr JournalOption journalOptions[] = {
    {"--record", SessionMode::record}, {"--replay", SessionMode::replay}, {"--timedemo", SessionMode::timedemo}};

[[noreturn]] void refuse(const std::string& what)
{
    fatalError(commandLineFailure, "vellmar: " + what, usageText);
}

}  // namespace

bool readArguments(int argc, char** argv, int& status, Session& session)
{
    status = exitPlayed;
    // The first of --version and --help is answered, once every argument is known to be one of them.
    const char* answer = nullptr;
    for (int i = 1; i < argc; ++i) {
        const JournalOption* option = nullptr;
        for (const JournalOption& candidate : journalOptions)
            if (std::strcmp(argv[i], candidate.name) == 0)
                option = &candidate;
        if (option) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0')
                refuse(std::string(option->name) + " needs a journal file");
            if (session.mode != SessionMode::play)
                refuse("only one of --record, --replay and --timedemo");
            session.mode = option->mode;
            session.journal = std::filesystem::absolute(argv[++i]).lexically_normal().string();
            continue;
        }
        if (std::strcmp(argv[i], "--version") != 0 && std::strcmp(argv[i], "--help") != 0)
            refuse(std::string("unknown argument: ") + argv[i]);
        if (!answer)
            answer = argv[i];
    }
    if (!answer)
        return true;
    if (std::strcmp(answer, "--version") == 0)
        notice("Vellmar %s", gameVersion);
    else
        notice("%s", usageText);
    return false;
}
