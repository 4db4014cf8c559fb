// The stacking check on arbitrary tables: which spells each slot lists, their
// values and order, the rows read back and the layout of the slots.
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "stacking/stacking.h"

namespace {

constexpr int kFilledRecords = 32;

// Rows written and read back keep both numbers and a prefix of the sentence.
void CheckRowRoundTrip(FuzzedDataProvider& input)
{
    const int value = PickInt(input);
    const int index = PickInt(input);
    const std::string sentence = input.ConsumeRandomLengthString(SPELL_FIELD_CHARS + 10);
    TextField row;
    row.fill('X');
    FormatStackingRow(row, value, index, sentence.c_str());
    FUZZ_CHECK(IsTerminated(row));
    int readValue = 0;
    int readIndex = 0;
    const char* readSentence = nullptr;
    FUZZ_CHECK(ReadStackingRow(row, readValue, readIndex, readSentence));
    FUZZ_CHECK(readValue == value && readIndex == index);
    FUZZ_CHECK(readSentence >= row.data() && readSentence < row.data() + row.size());
    FUZZ_CHECK(std::strncmp(sentence.c_str(), readSentence, std::strlen(readSentence)) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    CheckRowRoundTrip(input);
    g_numSpells = input.ConsumeIntegralInRange<int>(-1, kFilledRecords);
    g_levelEnable = PickInt(input);
    g_displayLevel = PickInt(input);
    const int index = PickSmallOrAny(input, -1, kFilledRecords);
    // The records take whatever the input has left.
    for (int i = 0; i < kFilledRecords; ++i) FillRecord(input, g_spellArray[static_cast<std::size_t>(i)]);

    const bool inTable = index >= 0 && index < MAX_SPELLS;
    const SpellStruct given = inTable ? g_spellArray[static_cast<std::size_t>(index)] : SpellStruct{};

    int expectedTop = STACK_FIRST_HEADER_TOP;
    int lastSlot = -1;
    int slotsSeen = 0;
    int linesOfSlot = 0;
    int lastValue = INT_MAX;
    std::vector<bool> listed(kFilledRecords);
    StackingSlot current;

    auto finishSlot = [&] {
        if (lastSlot < 0) return;
        FUZZ_CHECK(linesOfSlot == current.rowCount);
        int expectedRows = 0;
        for (int i = 0; i < g_numSpells; ++i) {
            const SpellStruct& other = g_spellArray[static_cast<std::size_t>(i)];
            const auto k = static_cast<std::size_t>(lastSlot);
            const bool conflict = other.id != given.id && other.duration != 0 &&
                                  !(other.attrib[k] == 10 && other.base[k] == 0) &&
                                  other.attrib[k] == given.attrib[k];
            FUZZ_CHECK(listed[static_cast<std::size_t>(i)] == conflict);
            expectedRows += conflict;
        }
        FUZZ_CHECK(current.rowCount == expectedRows);
    };

    const int shown = ForEachStackingSlot(
        index,
        [&](const StackingSlot& slot) {
            finishSlot();
            FUZZ_CHECK(slot.slot > lastSlot && slot.slot < NUM_EFFECT_SLOTS);
            FUZZ_CHECK(IsStackingSlot(given, slot.slot));
            for (int k = lastSlot + 1; k < slot.slot; ++k) FUZZ_CHECK(!IsStackingSlot(given, k));
            FUZZ_CHECK(slot.headerField.top == expectedTop);
            FUZZ_CHECK(slot.lineCount == (slot.rowCount > 0 ? slot.rowCount : 1));
            FUZZ_CHECK(slot.frame.height == STACK_FRAME_BASE_HEIGHT + STACK_LINE_STEP * slot.lineCount);
            FUZZ_CHECK(IsTerminated(slot.label));
            FUZZ_CHECK(std::atoi(slot.label.data() + 5) == slot.slot + 1);
            expectedTop = NextStackingHeaderTop(slot);
            lastSlot = slot.slot;
            current = slot;
            ++slotsSeen;
            linesOfSlot = 0;
            lastValue = INT_MAX;
            listed.assign(kFilledRecords, false);
        },
        [&](const StackingSlot& slot, const StackingLine& line) {
            FUZZ_CHECK(slot.slot == lastSlot);
            FUZZ_CHECK(line.row == linesOfSlot);
            ++linesOfSlot;
            FUZZ_CHECK(line.index >= 0 && line.index < g_numSpells);
            FUZZ_CHECK(!listed[static_cast<std::size_t>(line.index)]);
            listed[static_cast<std::size_t>(line.index)] = true;
            const SpellStruct& other = g_spellArray[static_cast<std::size_t>(line.index)];
            const auto k = static_cast<std::size_t>(slot.slot);
            FUZZ_CHECK(line.value == StackingValue(other.base[k], other.max[k]));
            FUZZ_CHECK(line.value <= lastValue);  // largest first
            lastValue = line.value;
            FUZZ_CHECK(line.name == other.name.data());
            // The row holds the sentence the check generated, cut to fit.
            FUZZ_CHECK(std::strncmp(other.effectText[k].data(), line.text, std::strlen(line.text)) == 0);
            FUZZ_CHECK(line.nameField.top ==
                       slot.headerField.top + STACK_LINE_OFFSET + STACK_LINE_STEP * (line.row + 1));
        });
    finishSlot();

    if (!inTable) {
        FUZZ_CHECK(shown == -1);
        return 0;
    }
    FUZZ_CHECK(shown == slotsSeen);
    int expectedShown = 0;
    for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) expectedShown += IsStackingSlot(given, k);
    FUZZ_CHECK(shown == expectedShown);
    return 0;
}
