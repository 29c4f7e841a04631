#include "core/Console.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

void notice(const char* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stdout, format, arguments);
    va_end(arguments);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void refusedFile(const std::string& path, const std::string& reason)
{
    notice("%s: %s", path.c_str(), reason.c_str());
}

void waitForEnter()
{
    int c = 0;
    while ((c = std::getchar()) != EOF && c != '\n') {
    }
}

void consolePause()
{
    notice("Press Enter to continue . . .");
    waitForEnter();
}

void fatalError(const FatalKind& kind, const std::string& message, const char* detail)
{
    std::FILE* stream = kind.errorStream ? stderr : stdout;
    std::fprintf(stream, "%s\n", message.c_str());
    if (detail)
        std::fprintf(stream, "%s\n", detail);
    std::fflush(stream);
    if (kind.waits)
        consolePause();
    std::exit(kind.status);
}
