// Code page 932, the code page the memory services always assume: its lead bytes, and its
// letters as a file system that ignores case compares them.
#include <iconv.h>

#include "platform/common/case_fold_932.h"
#include "platform/text.h"

bool IsLeadByte(unsigned char b) { return IsLeadByte932(b); }

std::string CaseFoldedName(const std::string& name) { return UpperCaseCodePage932Name(name); }

// Code page 932 as Windows maps it (glibc's CP932 is Microsoft's table). A character is shown
// only where it converts back to itself, as the system's listings show names; else '?'.
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (handle_ != reinterpret_cast<iconv_t>(-1)) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // The whole of text converted; false where any of it cannot be.
  bool Convert(const std::string& text, std::string& out) {
    out.clear();
    if (handle_ == reinterpret_cast<iconv_t>(-1)) return false;
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    std::string in = text;
    char* inPtr = in.empty() ? nullptr : &in[0];
    size_t inLeft = in.size();
    // No character of either side takes more than four bytes on the other.
    out.resize(text.size() * 4 + 4);
    char* outPtr = &out[0];
    size_t outLeft = out.size();
    if (iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) ||
        inLeft != 0) {
      out.clear();
      return false;
    }
    out.resize(out.size() - outLeft);
    return true;
  }

 private:
  iconv_t handle_;
};

Converter& ToUtf8() {
  static Converter converter("UTF-8", "CP932");
  return converter;
}

Converter& ToCodePage() {
  static Converter converter("CP932", "UTF-8");
  return converter;
}

// The length of the UTF-8 sequence that starts with b; 0 for a byte no sequence starts with.
size_t SequenceLength(unsigned char b) {
  if (b < 0x80) return 1;
  if (b >= 0xc2 && b <= 0xdf) return 2;
  if (b >= 0xe0 && b <= 0xef) return 3;
  if (b >= 0xf0 && b <= 0xf4) return 4;
  return 0;
}

// True when a sequence of SequenceLength's length is one character: its trail bytes are trail
// bytes, and it is neither an overlong form, nor a surrogate, nor past U+10FFFF.
bool IsCharacter(const std::string& sequence) {
  const auto byte = [&sequence](size_t i) { return static_cast<unsigned char>(sequence[i]); };
  for (size_t i = 1; i < sequence.size(); ++i) {
    if ((byte(i) & 0xc0) != 0x80) return false;
  }
  if (sequence.size() == 3) {
    if (byte(0) == 0xe0 && byte(1) < 0xa0) return false;
    if (byte(0) == 0xed && byte(1) >= 0xa0) return false;
  }
  if (sequence.size() == 4) {
    if (byte(0) == 0xf0 && byte(1) < 0x90) return false;
    if (byte(0) == 0xf4 && byte(1) >= 0x90) return false;
  }
  return true;
}

}  // namespace

bool ExactOf(const std::string& shown, std::string& exact) {
  exact.clear();
  for (size_t i = 0; i < shown.size(); ++i) {
    if (IsLeadByte932(static_cast<unsigned char>(shown[i])) && ++i == shown.size()) return false;
  }
  return ToUtf8().Convert(shown, exact);
}

std::string ShownOf(const std::string& exact) {
  std::string shown;
  std::string character;
  std::string converted;
  std::string back;
  for (size_t i = 0; i < exact.size();) {
    const size_t length = SequenceLength(static_cast<unsigned char>(exact[i]));
    if (length == 0 || i + length > exact.size()) return std::string();
    character.assign(exact, i, length);
    i += length;
    if (!IsCharacter(character)) return std::string();
    if (length == 1) {
      shown += character;
    } else if (ToCodePage().Convert(character, converted) && ToUtf8().Convert(converted, back) &&
               back == character) {
      shown += converted;
    } else {
      shown += '?';
    }
  }
  return shown;
}
