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

}  // namespace fuzz
