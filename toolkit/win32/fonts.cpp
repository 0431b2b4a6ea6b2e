// Font creation and caching for the native peers.
#include "toolkit/win32/fonts.h"

#include <cstddef>
#include <map>
#include <tuple>

namespace toolkit::win32 {

namespace {

// Deletes the cached fonts at process end.
struct FontCache {
  std::map<std::tuple<std::string, int, bool>, HFONT> faces;
  HFONT status = nullptr;
  HFONT message = nullptr;
  ~FontCache() {
    for (auto& entry : faces) DeleteObject(entry.second);
    if (status != nullptr) DeleteObject(status);
    if (message != nullptr) DeleteObject(message);
  }
};

FontCache& Cache() {
  static FontCache cache;
  return cache;
}

NONCLIENTMETRICSA SystemMetrics() {
  NONCLIENTMETRICSA metrics{};
  // The size without iPaddedBorderWidth is the one every Windows version accepts.
  metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
  return metrics;
}

HFONT FromLogFont(const LOGFONTA& font) {
  HFONT made = CreateFontIndirectA(&font);
  return made != nullptr ? made : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

HFONT FaceFont(const std::string& face, int height, bool fixedPitch) {
  auto key = std::make_tuple(face, height, fixedPitch);
  auto found = Cache().faces.find(key);
  if (found != Cache().faces.end()) return found->second;
  LOGFONTA font{};
  font.lfHeight = -height;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = (fixedPitch ? FIXED_PITCH : DEFAULT_PITCH) | FF_DONTCARE;
  lstrcpynA(font.lfFaceName, face.c_str(), LF_FACESIZE);
  HFONT made = FromLogFont(font);
  Cache().faces.emplace(key, made);
  return made;
}

HFONT FontOf(const FontSpec& font) {
  if (font.face.empty()) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  return FaceFont(font.face, font.height, font.fixedPitch);
}

HFONT StatusFont() {
  if (Cache().status == nullptr) Cache().status = FromLogFont(SystemMetrics().lfStatusFont);
  return Cache().status;
}

HFONT MessageFont() {
  if (Cache().message == nullptr) Cache().message = FromLogFont(SystemMetrics().lfMessageFont);
  return Cache().message;
}

}  // namespace toolkit::win32
