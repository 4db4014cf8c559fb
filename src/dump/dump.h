// Diagnostic dumps of the spell data to plain text files.
//
// Two dumps read the spell file again and print its raw columns, split
// exactly as the reader splits them: one line column by column, or one
// column across all loaded lines. Two print from the loaded table
// (g_spellArray, g_numSpells): the five per-slot values of every spell, one
// file per spell, and the slots that have a formula code but no cap.
//
// Every function returns 0 on success and -1 when a file it needs does not
// open; nothing is reported to the user. Paths are relative to the working
// directory unless given absolute.
#pragma once

#include <array>

#include "data/reader.h"
#include "data/spell.h"

// Where the dumps go, under the working directory. The single-spell dump
// writes "SpellNum%d.txt" with the spell number, also there.
inline constexpr const char* kCalcDumpFile = "calcdump.txt";
inline constexpr const char* kAttributeDumpDir = "kestrel/attributes";
inline constexpr const char* kSpellDumpDir = "kestrel/dump";

// DumpSpell's result for a line number the spell file does not have.
inline constexpr int DUMP_NO_SUCH_LINE = -2;

// Writes the 174 columns of line `spellNumber` (0-based) of the spell file to
// outPath, one "Field %d = %s\n" line each. A number with no line in the file
// (negative, or past the last line; any number for an empty file) writes no
// file and returns DUMP_NO_SUCH_LINE, with the file's number of lines in
// `lineCount` when given. When the spell file does not open, outPath is left
// empty and the result is -1.
int DumpSpell(int spellNumber, const char* spellFile, const char* outPath, int* lineCount = nullptr);

// What the status line says after DumpSpell found no line `spellNumber` in
// a file of `lineCount` lines, e.g. "Nothing was dumped: the spell file has
// no line 5000 (its 3999 lines are numbered 0 to 3998)."
void FormatNoSuchLine(int spellNumber, int lineCount, MessageText& text);

// Writes "AttributeNum%d.txt" for each column 0..173 into `directory`
// (created when missing): one line per line of the spell file, for its first
// g_numSpells lines, with that column's text, the id and the name. Reads the
// spell file once per column. Stops at the first file that does not open.
int DumpAttributes(const char* spellFile, const char* directory);

// Writes one file per loaded spell into `directory` (created when missing)
// with the 12 slots' five values, under the first of its names
// (SpellDumpFileName) that this dump has not written yet and that can be
// created. A spell none of whose id names can be created is skipped. No file
// this dump wrote is written again. Always returns 0.
int DumpAllSpells(const char* directory);

// A dump file's name: a name of 259 Latin-1 bytes takes 518 as UTF-8.
using DumpFileName = std::array<char, 2 * SPELL_FIELD_CHARS + 8>;

// The names the all-spells dump tries for the spell at table `index`, in
// order of `choice`: 0 its name as the windows show it, in UTF-8, and ".txt"
// (false when that is not a safe file name); 1 "<id>.txt"; 2
// "<id>-<index>.txt"; 3 and on "<id>-<index>-<choice - 1>.txt".
bool SpellDumpFileName(const SpellStruct& spell, int index, int choice, DumpFileName& name);

// Writes the report of the slots without a cap that still grow with level
// (IsCalcDumpSlot) to outPath.
int DumpSpecial(const char* outPath);

// True when the name can be used as it stands as one file name inside a dump
// directory: not empty, not "." or "..", and free of path separators, control
// characters (U+0080 to U+009F in UTF-8 too) and the characters some systems
// forbid in file names (< > : " | ? *).
bool IsSafeDumpFileName(const char* name);

// True when slot k of the spell belongs in the formula report: base is not 0,
// max is 0, calc is neither 0 nor 100, and the effect is not 32 ("Summon
// Item", whose base is an item id).
bool IsCalcDumpSlot(const SpellStruct& spell, int slot);
