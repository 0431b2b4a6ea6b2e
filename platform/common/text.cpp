// Code-page text services shared by every platform: case mapping and path splitting that step
// over two-byte characters, and the integer <-> text conversions.
#include "platform/text.h"

#include <algorithm>

namespace {

// True when b opens a two-byte character. No double-byte code page has a lead byte below 0x80,
// so the common single-byte text never pays for the platform's question.
inline bool OpensPair(unsigned char b, LeadByteTest isLead) { return b >= 0x80 && isLead(b); }

// Maps the single-byte letters from..from+25 by delta in place; a lead byte takes its trail byte
// with it unchanged, whatever that byte is (0x41-0x5A and 0x61-0x7A are common trail bytes).
void MapSingleByteLetters(char* text, size_t n, char from, int delta, LeadByteTest isLead) {
  for (size_t i = 0; i < n; ++i) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (OpensPair(b, isLead) && i + 1 < n) {
      ++i;
    } else if (text[i] >= from && text[i] <= from + 25) {
      text[i] = static_cast<char>(text[i] + delta);
    }
  }
}

std::string MapSingleByteLetters(const std::string& s, char from, int delta, LeadByteTest isLead) {
  std::string out = s;
  MapSingleByteLetters(&out[0], out.size(), from, delta, isLead);
  return out;
}

// Position just past the last '\' or ':' that is a character of its own, or 0.
size_t FolderPartLength(const std::string& path, LeadByteTest isLead) {
  size_t length = 0;
  const size_t n = path.size();
  for (size_t i = 0; i < n; ++i) {
    const unsigned char b = static_cast<unsigned char>(path[i]);
    if (OpensPair(b, isLead) && i + 1 < n) {
      ++i;
    } else if (b == '\\' || b == ':') {
      length = i + 1;
    }
  }
  return length;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The forms both parsers share (wider than ParsePlainDecimal's: spaces, '+', hexadecimal).
// Decimal magnitudes up to maxPositive (one more when negative); hexadecimal values up to
// maxPattern, returned as the bit pattern.
bool ParseIntegerText(const std::string& text, uint64_t maxPositive, uint64_t maxPattern,
                      uint64_t& pattern) {
  const size_t n = text.size();
  size_t i = 0;
  while (i < n && text[i] == ' ') ++i;
  if (i == n) return false;

  size_t hexStart = 0;
  if (text[i] == '$' || text[i] == 'x' || text[i] == 'X') {
    hexStart = i + 1;
  } else if (text[i] == '0' && i + 1 < n && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hexStart = i + 2;
  }
  if (hexStart != 0) {
    if (hexStart == n) return false;
    uint64_t value = 0;
    for (i = hexStart; i < n; ++i) {
      const int digit = HexDigit(text[i]);
      if (digit < 0 || value > (maxPattern >> 4)) return false;
      value = value * 16 + static_cast<uint64_t>(digit);
    }
    pattern = value;
    return true;
  }

  bool negative = false;
  if (text[i] == '+' || text[i] == '-') {
    negative = text[i] == '-';
    ++i;
  }
  if (i == n) return false;
  const uint64_t limit = negative ? maxPositive + 1 : maxPositive;
  uint64_t magnitude = 0;
  for (; i < n; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    const uint64_t digit = static_cast<uint64_t>(text[i] - '0');
    if (magnitude > (limit - digit) / 10) return false;
    magnitude = magnitude * 10 + digit;
  }
  pattern = negative ? ~magnitude + 1 : magnitude;
  return true;
}

}  // namespace

std::string UpperCaseText(const std::string& s, LeadByteTest isLead) {
  return MapSingleByteLetters(s, 'a', 'A' - 'a', isLead);
}

std::string LowerCaseText(const std::string& s, LeadByteTest isLead) {
  return MapSingleByteLetters(s, 'A', 'a' - 'A', isLead);
}

void AppendUpperCaseText(const char* data, size_t size, std::string& out, LeadByteTest isLead) {
  const size_t start = out.size();
  out.append(data, size);
  MapSingleByteLetters(&out[start], size, 'a', 'A' - 'a', isLead);
}

std::string FolderPartOf(const std::string& path, LeadByteTest isLead) {
  return path.substr(0, FolderPartLength(path, isLead));
}

size_t ExtensionStart(const std::string& path, LeadByteTest isLead) {
  const size_t n = path.size();
  size_t dot = std::string::npos;
  for (size_t i = FolderPartLength(path, isLead); i < n; ++i) {
    const unsigned char b = static_cast<unsigned char>(path[i]);
    if (OpensPair(b, isLead) && i + 1 < n) {
      ++i;
    } else if (b == '.') {
      dot = i;
    }
  }
  return dot;
}

bool ParseInteger(const std::string& text, int32_t& value) {
  uint64_t pattern = 0;
  if (!ParseIntegerText(text, INT32_MAX, UINT32_MAX, pattern)) return false;
  value = static_cast<int32_t>(static_cast<uint32_t>(pattern));
  return true;
}

bool ParseInteger64(const std::string& text, int64_t& value) {
  uint64_t pattern = 0;
  if (!ParseIntegerText(text, INT64_MAX, UINT64_MAX, pattern)) return false;
  value = static_cast<int64_t>(pattern);
  return true;
}

bool ParsePlainDecimal(std::string_view text, bool signedForm, int64_t& value) {
  const bool negative = signedForm && !text.empty() && text[0] == '-';
  const std::string_view digits = text.substr(negative ? 1 : 0);
  if (digits.empty() || digits.size() > 18) return false;
  if (digits[0] == '0' && (digits.size() > 1 || negative)) return false;
  int64_t magnitude = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + (c - '0');
  }
  value = negative ? -magnitude : magnitude;
  return true;
}

std::string FormatInteger(int64_t value) { return std::to_string(value); }

std::string RightJustifiedNumber(int64_t value, int width) {
  std::string out;
  AppendRightJustifiedNumber(value, width, out);
  return out;
}

void AppendRightJustifiedNumber(int64_t value, int width, std::string& out) {
  // Digits from the right into a buffer of their own: a listing writes one per row.
  char digits[24];
  int n = 0;
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  do {
    digits[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude > 0);
  if (value < 0) digits[n++] = '-';
  out.append(static_cast<size_t>(std::max(0, std::clamp(width, 0, 255) - n)), ' ');
  while (n > 0) out += digits[--n];
}

size_t Utf8SequenceLength(unsigned char b) {
  if (b < 0x80) return 1;
  if (b >= 0xc2 && b <= 0xdf) return 2;
  if (b >= 0xe0 && b <= 0xef) return 3;
  if (b >= 0xf0 && b <= 0xf4) return 4;
  return 0;
}

bool IsUtf8Character(const std::string& text, size_t at, size_t length) {
  if (length == 0 || at + length > text.size()) return false;
  const auto byte = [&text, at](size_t i) { return static_cast<unsigned char>(text[at + i]); };
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xc0) != 0x80) return false;
  }
  if (length == 3 &&
      ((byte(0) == 0xe0 && byte(1) < 0xa0) || (byte(0) == 0xed && byte(1) >= 0xa0))) {
    return false;
  }
  return length != 4 ||
         !((byte(0) == 0xf0 && byte(1) < 0x90) || (byte(0) == 0xf4 && byte(1) >= 0x90));
}

bool IsUtf8Text(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const size_t length = Utf8SequenceLength(static_cast<unsigned char>(text[i]));
    if (!IsUtf8Character(text, i, length)) return false;
    i += length;
  }
  return true;
}

bool IsAscii(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

size_t Utf16Units(const std::string& exact) {
  size_t units = 0;
  for (char c : exact) {
    const unsigned char b = static_cast<unsigned char>(c);
    // A character past U+FFFF is a surrogate pair; trail bytes add nothing.
    if (b >= 0xf0) {
      units += 2;
    } else if ((b & 0xc0) != 0x80) {
      ++units;
    }
  }
  return units;
}

bool EndsInsideCharacter(const std::string& exact) {
  size_t trail = 0;
  for (size_t i = exact.size(); i > 0; --i) {
    const unsigned char b = static_cast<unsigned char>(exact[i - 1]);
    if ((b & 0xc0) != 0x80) return Utf8SequenceLength(b) != trail + 1;
    if (++trail == 4) return true;
  }
  return trail != 0;
}
