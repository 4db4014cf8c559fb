// Shared by the window tests: a dialog hook that records every message and
// answers file choosers from a script, so that no test blocks on a dialog.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/toolkit.h"

struct RecordedMessage {
    std::string title;
    std::string text;
};

class ScriptedDialogs : public DialogHook {
public:
    void Message(const char* title, const char* text) override
    {
        messages.push_back({title, text});
        if (onMessage) onMessage();
    }

    int FileSelect(const char* defaultFileName, const char* title, std::string& path) override
    {
        chooserTitles.push_back(title);
        (void)defaultFileName;
        if (answers.empty()) return VAL_NO_FILE_SELECTED;
        auto [result, chosen] = answers.front();
        answers.pop_front();
        if (result != VAL_NO_FILE_SELECTED) path = chosen;
        return result;
    }

    void FileSelectPlace(const char* directory, const char* filters) override
    {
        chooserDirectories.push_back(directory);
        chooserFilters.push_back(filters);
    }

    // Queues the answer of the next file chooser.
    void AnswerNextFileSelect(int result, std::string path = {})
    {
        answers.emplace_back(result, std::move(path));
    }

    void Reset()
    {
        messages.clear();
        chooserTitles.clear();
        chooserDirectories.clear();
        chooserFilters.clear();
        answers.clear();
        onMessage = nullptr;
    }

    std::vector<RecordedMessage> messages;
    std::vector<std::string> chooserTitles;
    std::vector<std::string> chooserDirectories;
    std::vector<std::string> chooserFilters;
    std::deque<std::pair<int, std::string>> answers;
    // Runs while a message is "shown" (the program is blocked in it).
    std::function<void()> onMessage;
};

// Every row of a list control: its label and, through the toolkit, its value.
inline std::vector<std::pair<std::string, int>> ListRows(int panel, int list)
{
    int count = -1;
    EXPECT_EQ(GetNumListItems(panel, list, &count), 0);
    std::vector<std::pair<std::string, int>> rows;
    for (int i = 0; i < count; ++i) {
        int value = -1;
        TextField label{};
        EXPECT_EQ(GetLabelFromIndex(panel, list, i, label), 0);
        EXPECT_EQ(SetCtrlIndex(panel, list, i), 0);
        EXPECT_EQ(GetCtrlVal(panel, list, &value), 0);
        rows.emplace_back(label.data(), value);
    }
    return rows;
}

// The hook installed for every window test; reset before each test.
ScriptedDialogs& Dialogs();

// The desktop every window test runs on: every cascade position of the
// tallest popup fits, so windows stand where the program puts them.
inline const std::vector<ScreenArea> kTestDesktop = {{0, 0, 1600, 1200}};
