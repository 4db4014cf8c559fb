// Shared by the window tests: a dialog hook that records every message and
// answers file choosers from a script, read-back helpers, and a fixture for
// popups opened from a table of spells.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <array>
#include <deque>
#include <string>
#include <vector>

#include "app/app.h"
#include "popup/popup_manager.h"
#include "popup/spell_popup.h"
#include "test_support.h"
#include "ui/toolkit_testing.h"

using testsupport::RowName;

struct RecordedMessage {
    std::string title, text;
};

class ScriptedDialogs : public DialogHook {
public:
    void Message(const char* title, const char* text) override { messages.push_back({title, text}); }
    void FileSelectPlace(const char* dir, const char* list) override { choosers.push_back({dir, list, ""}); }
    int FileSelect(const char*, const char* title, std::string& path) override
    {
        if (!choosers.empty()) choosers.back()[2] = title;
        if (answers.empty()) return VAL_NO_FILE_SELECTED;
        const int result = answers.front().first;
        path = answers.front().second;
        answers.pop_front();
        return result;
    }
    int PopupMenu(const std::vector<std::string>& items) override
    {
        menus.push_back(items);
        return menuAnswer;
    }
    void AnswerNextFileSelect(int result, std::string path = {}) { answers.emplace_back(result, path); }
    void Reset() { *this = ScriptedDialogs{}; }

    std::vector<RecordedMessage> messages;
    std::vector<std::array<std::string, 3>> choosers;  // folder, filters, title of each chooser shown
    std::deque<std::pair<int, std::string>> answers;
    std::vector<std::vector<std::string>> menus;  // the items of each popup menu shown
    int menuAnswer = -1;                          // the item each one chooses
};

// The hook installed for every window test; reset before each test.
inline ScriptedDialogs& Dialogs()
{
    static ScriptedDialogs dialogs;
    return dialogs;
}

// A control's text or number, a control's attribute, a panel's attribute.
inline std::string Text(int panel, int control)
{
    TextField text{};
    EXPECT_EQ(GetCtrlVal(panel, control, text), 0) << control;
    return text.data();
}
inline int Value(int panel, int control)
{
    int value = -12345;
    EXPECT_EQ(GetCtrlVal(panel, control, &value), 0) << control;
    return value;
}
inline int Attr(int panel, int control, int attribute)
{
    int value = -12345;
    EXPECT_EQ(GetCtrlAttribute(panel, control, attribute, &value), 0) << control << " " << attribute;
    return value;
}
inline int PanelAttr(int panel, int attribute)
{
    int value = -12345;
    EXPECT_EQ(GetPanelAttribute(panel, attribute, &value), 0) << attribute;
    return value;
}

// The rows of a list: each label with its value.
using Rows = std::vector<std::pair<std::string, int>>;

// Every row of a list control: its label and, through the toolkit, its value.
inline Rows ListRows(int panel, int list)
{
    int count = 0;
    GetNumListItems(panel, list, &count);
    Rows rows;
    for (int i = 0; i < count; ++i) {
        TextField label{};
        GetLabelFromIndex(panel, list, i, label);
        SetCtrlIndex(panel, list, i);
        rows.emplace_back(label.data(), Value(panel, list));
    }
    return rows;
}

// The desktop of every window test: popups stand where the program puts them.
inline const std::vector<ScreenArea> kTestDesktop = {{0, 0, 1600, 1200}};

// What the popup manager holds, and the panels alive: equal when nothing changed.
struct PopupState {
    std::array<int, MAX_POPUPS> handles = g_popupHandles;
    int count = g_numPopups, next = g_nextPopup, last = g_lastPopup, x = g_popupX, y = g_popupY;
    int livePanels = CountLivePanels();
    bool operator==(const PopupState&) const = default;
};

// A place on a panel: top, left, width, height.
using Place = std::array<int, 4>;

// Popups opened from a spell table the test fills (AddSpell, SetSlot): every
// popup is closed afterwards and no panel may be left behind.
class PopupTest : public testsupport::SpellTableTest {
protected:
    void SetUp() override
    {
        SpellTableTest::SetUp();
        livePanels_ = CountLivePanels();
    }
    void TearDown() override
    {
        CloseAllPopups();
        if (mainPanel_ > 0) DiscardPanel(mainPanel_);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(CountLivePanels(), livePanels_) << "every panel is discarded";
    }
    // The panel of the most recent popup, or -1.
    static int LastPanel() { return g_lastPopup >= 0 ? g_popupHandles[g_lastPopup] : -1; }
    // Opens g_spellArray[index] the way a "Link" button does; returns its panel.
    static int OpenSpell(int index)
    {
        EXPECT_EQ(GoToLink2Callback(0, 0, EVENT_COMMIT, &g_intArray[index + 1], 0, 0), 0);
        return LastPanel();
    }
    // Where a rectangle of the core's layout asks for a control.
    template <typename Rect>
    static Place PlaceOf(const Rect& r)
    {
        return {r.top, r.left, r.width, r.height};
    }
    // Where the control stands; its height only when `asked` gives one (0 asks for the default).
    template <typename Rect>
    static Place PlaceOf(int panel, int control, const Rect& asked)
    {
        return {Attr(panel, control, ATTR_TOP), Attr(panel, control, ATTR_LEFT),
                Attr(panel, control, ATTR_WIDTH), asked.height ? Attr(panel, control, ATTR_HEIGHT) : 0};
    }

    int livePanels_ = 0;
    int mainPanel_ = -1;  // discarded afterwards when a test loads it
};

// Tests of the main window, loaded and shown, and the popups it opens.
struct MainWindowTest : PopupTest {
    void SetUp() override
    {
        PopupTest::SetUp();
        mainPanel = mainPanel_ = LoadMainPanel();
        ASSERT_GT(mainPanel_, 0);
        DisplayPanel(mainPanel_);
    }
    QWidget* Widget(int control) { return ControlWidget(mainPanel_, control); }
};
