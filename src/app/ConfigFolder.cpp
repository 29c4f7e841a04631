#include "app/ConfigFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

std::filesystem::path userConfigFile()
{
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome && std::filesystem::path(configHome).is_absolute())
        return std::filesystem::path(configHome) / "vellmar" / "config.ini";
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* user = getpwuid(getuid());
        home = user ? user->pw_dir : "/";
    }
    return std::filesystem::path(home) / ".config" / "vellmar" / "config.ini";
}

std::filesystem::path configFilePath()
{
    // Anything of that name counts as there, a folder too: it then gives "config.ini not found".
    std::error_code error;
    if (std::filesystem::symlink_status("config.ini", error).type() != std::filesystem::file_type::not_found)
        return "config.ini";
    return userConfigFile();
}

std::filesystem::path configSavePath()
{
    const std::filesystem::path read = configFilePath();
    return read == "config.ini" && access(".", W_OK) == 0 ? read : userConfigFile();
}
