#include "app/start.h"

#include <array>
#include <cstdio>
#include <string>

#include "app/app.h"
#include "app/callbacks.h"
#include "app/main_uir.h"
#include "app/settings_format.h"
#include "app/start_options.h"
#include "compare/compare_uir.h"
#include "data/spell.h"
#include "popup/spell_uir.h"
#include "stacking/stacking_uir.h"
#include "ui/toolkit.h"

namespace {

constexpr int kSystemAttributeCode = 1420;

void QuitCallback(void* callbackData)
{
    (void)callbackData;
    QuitUserInterface(g_numSpells >= 0 ? 0 : 1);
}

}  // namespace

bool CheckResourceFiles()
{
    for (const char* name : {MAIN_UIR, SPELL_UIR, STACKING_UIR, COMPARE_UIR}) {
        std::string problem;
        if (FindResourceFile(name, problem)) continue;
        std::fprintf(stderr, "rivizuzi: %s\n", problem.c_str());
        MessagePopup("Error", problem.c_str());
        return false;
    }
    return true;
}

void OpenCommandLineFile(const char* path)
{
    if (std::FILE* settings = std::fopen(SETTINGS_FILE, "r")) {
        std::fclose(settings);
        LoadInitFile(SETTINGS_FILE);
    }
    const TextField kept = g_fileName;
    DisplayPanel(mainPanel);
    // A path the settings cannot hold is refused as the chooser refuses it:
    // the dumps read the spell file again by its recorded name.
    if (const char* problem = SettingsPathProblem(path)) {
        ShowPathRefusal(problem);
        g_numSpells = -1;
    } else {
        CopyText(g_fileName, path);
        ParseSpells(mainPanel, g_fileName.data());
    }
    if (g_numSpells < 0) g_fileName = kept;
}

void QuitWhenReady()
{
    PostDeferredCall(QuitCallback, nullptr);
}

int RivizuziMain(int argc, char* argv[])
{
    StartOptions options;
    if (int status = ParseStartOptions(argc, argv, options, stdout, stderr); status >= 0) return status;
    if (options.userFolder) EnterUserFolder(stderr);
    InitGlobals();
    SetSystemAttribute(kSystemAttributeCode, 0);
    // The toolkit gets no arguments: the command line is the program's own.
    if (!InitToolkit(1, argv)) return -1;
    if (options.quitWhenReady) UseConsoleDialogs();
    RegisterProgramCallbacks();
    if (!CheckResourceFiles()) return -1;
    mainPanel = LoadMainPanel();
    if (mainPanel < 0) return -1;
    MessagePopup(kDisclaimerTitle, kDisclaimerText);
    if (!options.file.empty()) {
        OpenCommandLineFile(options.file.c_str());
    } else {
        if (LoadInitFile(SETTINGS_FILE) != 0) {
            DiscardPanel(mainPanel);
            // No spell file was chosen, so none was read.
            return options.quitWhenReady ? 1 : 0;
        }
        DisplayPanel(mainPanel);
        ParseSpells(mainPanel, g_fileName.data());
    }
    if (options.quitWhenReady) QuitWhenReady();
    int status = RunUserInterface();
    SaveInitFile(SETTINGS_FILE);
    DiscardPanel(mainPanel);
    return options.quitWhenReady ? status : 0;
}
