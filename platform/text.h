// Text services: the code page's text (what the window shows) and the exact UTF-8 text of names
// (what the file system is addressed by), case mapping that leaves two-byte characters alone,
// path splitting that never cuts at a trail byte, and integer <-> text conversion.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// True when b opens a two-byte character in the code page in force.
// Each platform implementation supplies this (win32: GetCPInfo; memory: code page 932).
bool IsLeadByte(unsigned char b);

// How the common text code learns the lead bytes: it takes the test as an argument rather than
// calling IsLeadByte, so that it is one library below every platform, not a part of each. The
// forms without it below pass the platform's IsLeadByte.
using LeadByteTest = bool (*)(unsigned char b);

// The form in which a file system that ignores case compares an exact name: two names answer to
// each other exactly when their forms are equal. More than the single-byte letters have a case
// there (full-width Latin, Greek, Cyrillic); only equality of the forms means anything. Each
// platform implementation supplies this (win32: the system's upper case, as UTF-16 code units;
// memory: a table of the letters that have a case, as UTF-8). The bytes therefore differ by
// platform: compare forms made by the same program only, and never show or store one.
std::string CaseFoldedName(const std::string& exactName);

// The file system stores names in Unicode; the window shows them in the code page. The exact
// form of a name or a path is its UTF-8 text: the journal's text, and the only form that can
// address a name with a character the code page lacks (〜 U+301C, é, emoji).
// The exact form of code-page text; false where it is no valid code-page text.
bool ExactOf(const std::string& shown, std::string& exact);
// The code-page form of exact text as the system's code-page listings show it: a character the
// code page lacks becomes '?'. Empty where exact is no valid UTF-8.
std::string ShownOf(const std::string& exact);
// The two for text that is not all ASCII. Each platform implementation supplies these (win32:
// the system's conversions; memory: code page 932 as Windows maps it).
bool ExactOfCodePageText(const std::string& shown, std::string& exact);
std::string CodePageTextOf(const std::string& exact);

// Exact text has no lead bytes in the code page's sense: in UTF-8 every byte of a character
// beyond ASCII is 0x80 or more, so a byte-wise look at its ASCII ('\\', '.', the letters) never
// cuts a character. Pass this where the functions below take exact text.
inline bool NoLeadByte(unsigned char) { return false; }
// True when text is all ASCII, which is the same text in the code page and exact.
bool IsAscii(const std::string& text);
// The UTF-16 units exact text takes, the measure of a name's length on the file system.
size_t Utf16Units(const std::string& exact);
// The bytes of the UTF-8 sequence b opens; 0 for a byte that opens none.
size_t Utf8SequenceLength(unsigned char b);
// True when the length bytes at text[at] are one character: trail bytes after the first, and
// neither an overlong form, nor a surrogate, nor past U+10FFFF.
bool IsUtf8Character(const std::string& text, size_t at, size_t length);
// True when text is valid UTF-8 throughout.
bool IsUtf8Text(const std::string& text);
// True when exact text ends inside a character (a sequence cut short).
bool EndsInsideCharacter(const std::string& exact);

// Copies with single-byte letters mapped; every two-byte character is copied unchanged.
std::string UpperCaseText(const std::string& s, LeadByteTest isLead);
std::string LowerCaseText(const std::string& s, LeadByteTest isLead);
// UpperCaseText of the bytes [data, data + size), appended to out (no string of its own).
void AppendUpperCaseText(const char* data, size_t size, std::string& out, LeadByteTest isLead);

// Up to and including the last '\' or ':' that is not a trail byte; empty if none.
std::string FolderPartOf(const std::string& path, LeadByteTest isLead);
// Where path's extension begins: its last '.' after the last '\' or ':' (none a trail byte),
// or std::string::npos where it has none.
size_t ExtensionStart(const std::string& path, LeadByteTest isLead);

inline void AppendUpperCaseText(const char* data, size_t size, std::string& out) {
  AppendUpperCaseText(data, size, out, IsLeadByte);
}
inline std::string FolderPartOf(const std::string& path) { return FolderPartOf(path, IsLeadByte); }
inline size_t ExtensionStart(const std::string& path) { return ExtensionStart(path, IsLeadByte); }

// Leading spaces, then [+-]decimal, or (unsigned) $hex, xhex, Xhex, 0xhex, 0Xhex up to
// FFFFFFFF read as a 32-bit pattern. Nothing may follow. False on any other text.
bool ParseInteger(const std::string& text, int32_t& value);
// The same forms, 64-bit: decimal within int64, hexadecimal up to 16 digits as a pattern.
bool ParseInteger64(const std::string& text, int64_t& value);
// The decimal the program itself writes (a size, a record number): a minus where signed, then 1
// to 18 digits, no leading zero ("0" itself, never "-0"), so that it fits in 64 bits and reads
// back as written. ParseInteger's forms are wider: what a user may have typed into a file.
bool ParsePlainDecimal(std::string_view text, bool signedForm, int64_t& value);

// Plain signed decimal.
std::string FormatInteger(int64_t value);
// Decimal padded on the left with spaces to width (capped at 255); never cut.
std::string RightJustifiedNumber(int64_t value, int width);
// RightJustifiedNumber appended to out (no string of its own).
void AppendRightJustifiedNumber(int64_t value, int width, std::string& out);

// Exact forms of shown text (code page) and code-page forms of exact text, for whole paths.
inline std::string ExactLowerCase(const std::string& exact) {
  return LowerCaseText(exact, NoLeadByte);
}
inline std::string ExactFolderPart(const std::string& exact) {
  return FolderPartOf(exact, NoLeadByte);
}
// The exact name of an entry or an item that keeps it beside its shown text only where the two
// differ: exact where given, else the exact form of shown.
std::string ExactNameOf(const std::string& shown, const std::string& exact);
// The exact form of shown text that names it faithfully: empty where the text has none, or where
// its exact form shows as other text (two code-page characters share one character).
std::string FaithfulExactOf(const std::string& shown);
