// The settings-file functions of the program and the executable's folder: thin wrappers over the
// private-profile calls that take and give std::string.
#pragma once

#include <string>

// Folder of the executable, ending with '\'. Set when the main window is shown.
extern std::string ExeFolder;

// A zero-terminated heap copy of s (its length plus one byte); the caller frees it with delete[].
char* NewCString(const std::string& s);

// Reads key of section from fileName into value, through a buffer of bufferSize bytes (so at most
// bufferSize - 1 bytes of the value). True iff at least one byte was read: a missing file,
// section or key and an empty value all give false.
bool ReadSetting(const std::string& section, const std::string& key, const std::string& fileName,
                 int bufferSize, std::string& value);

// Writes key=value into section of fileName, creating the file and the section when missing.
// Returns whether the write succeeded.
bool WriteSetting(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& fileName);
