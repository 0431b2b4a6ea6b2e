// The profile ("INI") file form as the Win32 private-profile functions read and write it on code
// page 932: the same parse, lookup, truncation and rewrite. The memory volume's settings files
// run on it; the program calls the system's functions and never links it. It copies what the
// program needs of those functions and no more: a new quirk belongs here only when the program
// comes to depend on it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace profile {

// Code-page 932 text as it comes back from a round trip through Unicode, which the Win32 calls
// make of every file and every argument: an undefined or broken two-byte sequence (a lone lead
// byte included) becomes the middle dot 0x81 0x45, and the NEC and IBM duplicates take their one
// canonical code. Canonical text comes back unchanged.
std::string Canonical(const std::string& bytes);

// A line of a section: a key with the text after its '=', or a line without '=' (no value).
struct Key {
  std::string name;
  std::optional<std::string> value;
};

struct Section {
  std::string name;  // empty for the lines before the first header (and for "[]")
  std::vector<Key> keys;
};

struct Document {
  // A UTF-8 byte-order mark led the file; it is written back and the text is left as it is.
  bool utf8Marker = false;
  // sections[0] is the unnamed part before the first header; it is always there.
  std::vector<Section> sections;
};

// Reads any bytes as a profile file. Blank lines vanish; a line that is neither a header nor
// holds '=' becomes a key without a value.
Document Parse(const std::string& fileBytes);
// The file as the Win32 writer lays it out: CRLF after every line, no blank lines.
std::string Format(const Document& doc);

// The first key named key in the first section named section, or nullptr. Names are compared
// after trimming blanks, with ASCII letters in either case.
const Key* Find(const Document& doc, const std::string& section, const std::string& key);
// Sets key to value (leading blanks dropped), appending the key to its section and the section
// to the file when missing. False when the key already held exactly that value.
bool Set(Document& doc, const std::string& section, const std::string& key,
         const std::string& value);

// GetPrivateProfileStringA on a file holding fileBytes (empty for a missing file): the value
// with one pair of surrounding quotes removed, or deflt, cut to size - 1 bytes. Returns the
// bytes copied; a cut in front of a two-byte character returns size - 1 and leaves the byte
// before the terminator unwritten, as the Win32 call does.
uint32_t GetString(const std::string& fileBytes, const char* section, const char* key,
                   const char* deflt, char* buffer, uint32_t size);

// GetPrivateProfileStringA where the file cannot be opened at all (its folder is missing, or it
// is a folder): deflt with its trailing spaces dropped but its quotes kept, cut like a value.
uint32_t GetDefault(const char* deflt, char* buffer, uint32_t size);

enum class WriteOutcome {
  Unchanged,   // the key already held the value; the file stays as it is
  Changed,     // newBytes holds the whole new file
  Unsupported  // a UTF-16 file, which this reader does not take apart; left alone
};
// WritePrivateProfileStringA on a file holding fileBytes (empty for a missing file).
WriteOutcome WriteString(const std::string& fileBytes, const char* section, const char* key,
                         const char* value, std::string& newBytes);

}  // namespace profile
