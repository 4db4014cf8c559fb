#include "ui/resource_location.h"

#include <filesystem>
#include <system_error>

#include "build_info.h"

std::string LocateResourceFile(const std::string& programDir, const char* fileName, std::string& problem)
{
    namespace fs = std::filesystem;
    const fs::path folders[] = {fs::path(programDir).lexically_normal(),
                                (fs::path(programDir) / kInstalledResourceDir).lexically_normal()};
    for (const fs::path& folder : folders) {
        std::error_code ec;
        if (fs::is_regular_file(folder / fileName, ec)) return (folder / fileName).string();
    }
    problem = std::string("Cannot find the resource file ") + fileName + ": it is neither in " +
              folders[0].string() + " nor in " + folders[1].string() + ".";
    return {};
}
