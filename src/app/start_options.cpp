#include "app/start_options.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "build_info.h"

namespace {

enum class OptionAction { Help, Version, UserFolder, QuitWhenReady, EndOfOptions };

struct OptionEntry {
    const char* name;
    OptionAction action;
};

constexpr OptionEntry kOptions[] = {
    {"--help", OptionAction::Help},
    {"-h", OptionAction::Help},
    {"--version", OptionAction::Version},
    {"--user-folder", OptionAction::UserFolder},
    {"--quit-when-ready", OptionAction::QuitWhenReady},
    {"--", OptionAction::EndOfOptions},
};

const OptionEntry* FindOption(std::string_view arg)
{
    for (const OptionEntry& entry : kOptions) {
        if (arg == entry.name) return &entry;
    }
    return nullptr;
}

int Usage(std::FILE* err, const char* problem, const char* arg)
{
    std::fprintf(err, "rivizuzi: %s%s\n%s", problem, arg, kViewerUsage);
    return 2;
}

}  // namespace

int ParseStartOptions(int argc, char* argv[], StartOptions& options, std::FILE* out, std::FILE* err)
{
    const char* file = nullptr;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        const OptionEntry* option = optionsEnded ? nullptr : FindOption(arg);
        if (!option && !optionsEnded && arg.size() > 1 && arg[0] == '-')
            return Usage(err, "unknown option ", argv[i]);
        if (!option) {
            if (file) return Usage(err, "only one FILE may be given: ", argv[i]);
            file = argv[i];
            continue;
        }
        switch (option->action) {
            case OptionAction::Help:
                std::fputs(kViewerUsage, out);
                return 0;
            case OptionAction::Version:
                std::fprintf(out, "rivizuzi %s\n", kRivizuziVersion);
                return 0;
            case OptionAction::UserFolder:
                options.userFolder = true;
                break;
            case OptionAction::QuitWhenReady:
                options.quitWhenReady = true;
                break;
            case OptionAction::EndOfOptions:
                optionsEnded = true;
                break;
        }
    }
    if (file) {
        if (*file == '\0') return Usage(err, "FILE is empty", "");
        std::error_code ec;
        std::filesystem::path path = std::filesystem::absolute(file, ec);
        options.file = ec ? std::string(file) : path.lexically_normal().string();
    }
    return -1;
}

std::string UserFolder(const char* xdgDataHome, const char* home)
{
    // Relative values are invalid for the XDG variables and are ignored.
    if (xdgDataHome && xdgDataHome[0] == '/') return std::string(xdgDataHome) + "/rivizuzi";
    if (home && home[0] == '/') return std::string(home) + "/.local/share/rivizuzi";
    return {};
}

bool EnterUserFolder(std::FILE* err)
{
    const std::string folder = UserFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    if (folder.empty()) {
        std::fputs("rivizuzi: neither XDG_DATA_HOME nor HOME names a folder; working in the current folder\n",
                   err);
        return false;
    }
    // Create each missing level, private to the user as the XDG base
    // directories are.
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string level = folder.substr(0, slash);
        if (::mkdir(level.c_str(), 0700) != 0 && errno != EEXIST) break;
        if (slash == std::string::npos) break;
    }
    if (::chdir(folder.c_str()) != 0) {
        std::fprintf(err, "rivizuzi: cannot work in %s (%s); working in the current folder\n", folder.c_str(),
                     std::strerror(errno));
        return false;
    }
    return true;
}
