#include "app/RunFolder.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "core/Console.h"

namespace {

bool holdsGameFiles(const std::filesystem::path& folder)
{
    std::error_code error;
    return std::filesystem::is_directory(folder / "Shader", error) &&
           std::filesystem::is_directory(folder / "Scene", error);
}

}  // namespace

void enterRunFolder()
{
    if (holdsGameFiles("."))
        return;
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return;
    const std::filesystem::path folder = executable.parent_path();
    if (!holdsGameFiles(folder) || chdir(folder.c_str()) != 0)
        return;
    notice("The game's files are not in the working directory; using those in %s", folder.c_str());
}
