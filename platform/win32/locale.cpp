// The user's date and time separators, read once from the thread locale.
#include "platform/locale.h"

#include <windows.h>

namespace {

std::string LocaleText(LCTYPE type, const char* fallback) {
  char text[16];
  const int length = GetLocaleInfoA(GetThreadLocale(), type, text, sizeof text);
  return length > 1 ? std::string(text, static_cast<size_t>(length - 1)) : std::string(fallback);
}

}  // namespace

std::string DateSeparator() {
  static const std::string separator = LocaleText(LOCALE_SDATE, "/");
  return separator;
}

std::string TimeSeparator() {
  static const std::string separator = LocaleText(LOCALE_STIME, ":");
  return separator;
}
