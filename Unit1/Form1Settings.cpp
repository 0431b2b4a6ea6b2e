// The settings file of the main window: the layout and the search folder are read when the
// window is shown and written when it closes.
#include <cstdint>
#include <string>

#include "Unit1/Form1.h"
#include "Unit2/Unit2.h"
#include "platform/text.h"
#include "resources/texts.h"
#include "toolkit/core/application.h"

namespace {

// Read buffers in bytes, terminator included.
constexpr int kNumberBufferSize = 22;
constexpr int kFolderBufferSize = 512;

constexpr char kSectionForm[] = "Form";
constexpr char kSectionComp[] = "Comp";
constexpr char kSectionSet[] = "Set";
constexpr char kKeyFolder[] = "FLD1";

struct NumberKey {
  const char* section;
  const char* key;
};

// In file order; the index matches NumberTargets below.
constexpr NumberKey kNumberKeys[] = {
    {kSectionForm, "F1_X"},   {kSectionForm, "F1_Y"},   {kSectionForm, "F1_W"},
    {kSectionForm, "F1_H"},   {kSectionComp, "F1_P1"},  {kSectionComp, "F1_SG0"},
    {kSectionComp, "F1_SG1"}, {kSectionComp, "F1_SG2"}, {kSectionComp, "F1_SG3"},
    {kSectionComp, "F1_SG4"},
};
constexpr int kNumberKeyCount = sizeof(kNumberKeys) / sizeof(kNumberKeys[0]);

std::string NotAnIntegerMessage(const std::string& value) {
  std::string message = texts::kNotAnInteger;
  const size_t at = message.find("%s");
  message.replace(at, 2, value);
  return message;
}

}  // namespace

void TForm1::LoadSettings() {
  int* const targets[kNumberKeyCount] = {
      &Layout.left,
      &Layout.top,
      &Layout.width,
      &Layout.height,
      &Layout.panelWidth,
      &Layout.columnWidths[0],
      &Layout.columnWidths[1],
      &Layout.columnWidths[2],
      &Layout.columnWidths[3],
      &Layout.columnWidths[4],
  };
  for (int i = 0; i < kNumberKeyCount; ++i) {
    std::string value;
    if (!ReadSetting(kNumberKeys[i].section, kNumberKeys[i].key, IniFileName, kNumberBufferSize,
                     value)) {
      continue;
    }
    int32_t number = 0;
    // Escapes to the error box around the show handler: the keys after this one stay unread.
    if (!ParseInteger(value, number)) throw toolkit::Error(NotAnIntegerMessage(value));
    *targets[i] = number;
  }
  std::string folder;
  if (ReadSetting(kSectionSet, kKeyFolder, IniFileName, kFolderBufferSize, folder)) {
    SearchFolder = folder;
  }
}

void TForm1::SaveSettings() {
  const toolkit::Rect bounds = Bounds();
  const int values[kNumberKeyCount] = {
      bounds.left,
      bounds.top,
      bounds.width,
      bounds.height,
      Panel1.Width(),
      StringGrid1.ColWidth(0),
      StringGrid1.ColWidth(1),
      StringGrid1.ColWidth(2),
      StringGrid1.ColWidth(3),
      StringGrid1.ColWidth(4),
  };
  // A settings file that cannot be written is not worth a message.
  for (int i = 0; i < kNumberKeyCount; ++i) {
    WriteSetting(kNumberKeys[i].section, kNumberKeys[i].key, FormatInteger(values[i]), IniFileName);
  }
  WriteSetting(kSectionSet, kKeyFolder, SearchFolder, IniFileName);
}
