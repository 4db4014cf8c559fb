// rivizuzi-screenshot SPELL_FILE OUT_DIR
//
// Opens the viewer's windows headlessly on a spell file and saves pictures of
// them for the documentation: the main window after a search by name and
// effect, and every other window the program has open at that point.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

#include "app/app.h"
#include "app/callbacks.h"
#include "app/main_uir.h"
#include "app/search_callbacks.h"
#include "data/spell.h"
#include "effects/effects.h"
#include "popup/spell_popup.h"
#include "stacking/stacking_callbacks.h"
#include "ui/toolkit.h"

namespace {

bool Save(QWidget* window, const QString& path)
{
    QApplication::processEvents();
    bool ok = window->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", path.toUtf8().constData());
    return ok;
}

// A spell worth showing: it lasts, names another loaded spell in a weapon
// proc, and has several effect slots.
int PickShowcaseSpell()
{
    int best = -1;
    int bestSlots = 0;
    for (int i = 0; i < LoadedSpellCount(); ++i) {
        const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(i)];
        if (spell.duration <= 0) continue;
        int shown = 0;
        bool link = false;
        for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) {
            if (!IsSlotShown(spell, k)) continue;
            ++shown;
            TextField name{};
            if (spell.attrib[static_cast<std::size_t>(k)] == 85 &&
                FindSpell(spell.base[static_cast<std::size_t>(k)], name) >= 0) {
                link = true;
            }
        }
        if (link && shown > bestSlots && shown <= 8) {
            best = i;
            bestSlots = shown;
        }
    }
    return best;
}

QWidget* Visible(const char* objectName)
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->objectName() == objectName) return w;
    }
    return nullptr;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: rivizuzi-screenshot SPELL_FILE OUT_DIR\n");
        return 2;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    InitGlobals();
    InitToolkit(argc, argv);
    UseConsoleDialogs();
    RegisterProgramCallbacks();
    mainPanel = LoadMainPanel();
    if (mainPanel < 0) return 1;
    CopyText(g_fileName, argv[1]);
    SetPanelPos(mainPanel, 40, 40);
    DisplayPanel(mainPanel);
    ParseSpells(mainPanel, g_fileName.data());
    SetCtrlVal(mainPanel, MAINPANEL_SEARCH_TEXT, "sh");
    SetCtrlVal(mainPanel, MAINPANEL_EFFECT, 0);  // Hitpoints
    SearchStringCallback(mainPanel, MAINPANEL_SEARCH_TEXT, EVENT_COMMIT, nullptr, 0, 0);

    QDir out(QString::fromUtf8(argv[2]));
    bool ok = Save(Visible("mainPanel"), out.filePath("main-window.png"));

    int showcase = PickShowcaseSpell();
    if (showcase < 0 || OpenSpellPopup(showcase) != 0) {
        std::fprintf(stderr, "no spell with a link to show\n");
        return 1;
    }
    ok = Save(Visible("spellPanel"), out.filePath("spell-window.png")) && ok;
    StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[static_cast<std::size_t>(showcase)], 0, 0);
    if (QWidget* stacking = Visible("stackingPanel")) {
        ok = Save(stacking, out.filePath("stacking-window.png")) && ok;
    } else {
        ok = false;
    }
    return ok ? 0 : 1;
}
