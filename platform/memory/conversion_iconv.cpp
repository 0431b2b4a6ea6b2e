// Code page 932 as Windows maps it, for the memory services, where glibc's CP932 (Microsoft's
// table) is at hand. A character is shown only where it converts back to itself, as the system's
// listings show names; else '?'.
#include <iconv.h>

#include "platform/memory/case_fold_932.h"
#include "platform/text.h"

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

}  // namespace

bool ExactOfCodePageText(const std::string& shown, std::string& exact) {
  exact.clear();
  for (size_t i = 0; i < shown.size(); ++i) {
    if (IsLeadByte932(static_cast<unsigned char>(shown[i])) && ++i == shown.size()) return false;
  }
  return ToUtf8().Convert(shown, exact);
}

std::string CodePageTextOf(const std::string& exact) {
  std::string shown;
  std::string character;
  std::string converted;
  std::string back;
  for (size_t i = 0; i < exact.size();) {
    const size_t length = Utf8SequenceLength(static_cast<unsigned char>(exact[i]));
    if (!IsUtf8Character(exact, i, length)) return std::string();
    character.assign(exact, i, length);
    i += length;
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
