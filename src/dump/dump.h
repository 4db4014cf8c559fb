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

#include "data/spell.h"

// Where the dumps go, under the working directory. The single-spell dump
// writes "SpellNum%d.txt" with the spell number, also there.
inline constexpr const char* kCalcDumpFile = "calcdump.txt";
inline constexpr const char* kAttributeDumpDir = "kestrel/attributes";
inline constexpr const char* kSpellDumpDir = "kestrel/dump";

// Writes the 174 columns of line `spellNumber` (0-based) of the spell file to
// outPath, one "Field %d = %s\n" line each. A number past the last line dumps
// the last line; an empty file dumps 174 empty columns. A negative number
// writes nothing and returns -1. When the spell file does not open, outPath
// is left empty and the result is -1.
int DumpSpell(int spellNumber, const char* spellFile, const char* outPath);

// Writes "AttributeNum%d.txt" for each column 0..173 into `directory`
// (created when missing): one line per line of the spell file, for its first
// g_numSpells lines, with that column's text, the id and the name. Reads the
// spell file once per column. Stops at the first file that does not open.
int DumpAttributes(const char* spellFile, const char* directory);

// Writes one file per loaded spell into `directory` (created when missing)
// with the 12 slots' five values. The file is named after the spell's name
// ("<name>.txt") when that is a safe file name and can be created, otherwise
// after its id ("<id>.txt"); a spell for which neither can be created is
// skipped. Spells with the same name share one file, the later one winning.
// Always returns 0.
int DumpAllSpells(const char* directory);

// Writes the report of the slots without a cap that still grow with level
// (IsCalcDumpSlot) to outPath.
int DumpSpecial(const char* outPath);

// True when the name can be used as it stands as one file name inside a dump
// directory: not empty, not "." or "..", and free of path separators, control
// characters and the characters some systems forbid in file names
// (< > : " | ? *).
bool IsSafeDumpFileName(const char* name);

// True when slot k of the spell belongs in the formula report: base is not 0,
// max is 0, calc is neither 0 nor 100, and the effect is not 32 ("Summon
// Item", whose base is an item id).
bool IsCalcDumpSlot(const SpellStruct& spell, int slot);
