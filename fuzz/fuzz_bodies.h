// What the fuzz targets do with one input. The settings tests replay the kept inputs through the
// same functions, so a fixed crash stays fixed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Reads the bytes as a profile file: every key of every section through the buffer copy, then a
// write and a re-read. Returns what went wrong, or an empty string.
std::string ExerciseProfile(const uint8_t* data, size_t size);

// ParseInteger and ParseInteger64 on the bytes as text, against a plain reference of the accepted
// forms. Returns what went wrong, or an empty string.
std::string ExerciseIntegers(const uint8_t* data, size_t size);

// Takes the bytes for a run journal beside the program on the memory volume, over a tree that
// holds temporary names of ours and names that are not: recovery, and a new run's carrying over
// of open plans, may only ever move an entry out of a temporary name of ours, within its folder,
// to a name that differs from the old one in letter case alone, and a second recovery finds
// nothing left to do. Returns what went wrong, or an empty string.
std::string ExerciseJournal(const uint8_t* data, size_t size);

}  // namespace fuzz
