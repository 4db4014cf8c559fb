// A stacking window's check kept to be shared: the spell, the level setting
// the sentences are for, and per slot its header sentence and the listed
// spells' names and sentences. "Copy" on a stacking window gives this.
#pragma once

#include <string>
#include <vector>

#include "effects/effects.h"
#include "share/text_formats.h"
#include "stacking/stacking.h"

class StackingText {
public:
    // Starts over for the check of the spell named `spellName` (bytes) made
    // at the level setting.
    void Begin(const char* spellName, LevelSetting level);
    // Keeps the texts of a slot and then of each of its lines, in the order
    // ForEachStackingSlot gives them.
    void AddSlot(const StackingSlot& slot);
    void AddLine(const StackingLine& line);

    // Appends the check in the format:
    //  - Text: "Stacking - NAME (values over levels)", then per slot its
    //    "Slot 1: HEADER" line and one line "  NAME: SENTENCE" per listed
    //    spell, or "  No stacking conflicts".
    //  - Markdown and HTML: the title as a heading, then per slot the header
    //    line and a table Spell | Effect of the listed spells, or the line
    //    "No stacking conflicts". HTML is a fragment.
    void Write(TextFormat format, std::string& out) const;

private:
    struct Slot {
        std::string label;   // "Slot %d: "
        std::string header;  // the given spell's sentence
        std::size_t firstLine = 0;
        std::size_t lineCount = 0;
    };
    struct Line {
        std::string name;
        std::string text;
    };
    std::string name_;
    LevelSetting level_;
    std::vector<Slot> slots_;
    std::vector<Line> lines_;
};
