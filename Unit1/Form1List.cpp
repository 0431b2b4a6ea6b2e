// Listing one folder into the grid, and keeping the size column right-justified to the width of
// the grid font's digits whenever the size header is drawn.
#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "Unit1/Form1.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/locale.h"
#include "platform/text.h"
#include "resources/texts.h"
#include "toolkit/core/dialogs.h"

namespace {

// Characters the listing pads sizes to, estimated at 8 pixels each; the header's draw
// re-pads them with the font's measured digit.
int SizeDigitsFor(int columnWidth) { return columnWidth < 24 ? 3 : columnWidth / 8; }

// The cells of a listing are built in one reused buffer and copied into the grid's cells, which
// keep their storage from one listing to the next: a row then costs no allocation.

// v in decimal, padded with zeros to width digits; a longer number is written whole.
void AppendDigits(std::string& out, int v, int width) {
  if (v < 0) {
    out += FormatInteger(v);
    return;
  }
  char digits[12];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v > 0);
  out.append(static_cast<size_t>(std::max(0, width - n)), '0');
  while (n > 0) out += digits[--n];
}

// "yyyy/mm/dd hh:mm:ss" with the user's separators. A time outside the DOS range arrives as its
// true local time and is shown the same way.
void AppendTimeText(std::string& out, const LocalDateTime& t, const std::string& dateSep,
                    const std::string& timeSep) {
  AppendDigits(out, t.year, 4);
  out += dateSep;
  AppendDigits(out, t.month, 2);
  out += dateSep;
  AppendDigits(out, t.day, 2);
  out += ' ';
  AppendDigits(out, t.hour, 2);
  out += timeSep;
  AppendDigits(out, t.minute, 2);
  out += timeSep;
  AppendDigits(out, t.second, 2);
}

// One space and the upper-cased extension of a name.
void AppendTypeText(std::string& out, const std::string& name) {
  out += ' ';
  const size_t dot = ExtensionStart(name);
  if (dot != std::string::npos) AppendUpperCaseText(name.data() + dot, name.size() - dot, out);
}

// The size text right-justified to width characters, or an empty string when the text is
// already that. Plain decimals are re-padded as they stand, which keeps a repaint of a long
// listing cheap; anything else is read as an integer text, and as 0 when it is none.
std::string RefittedSize(const std::string& text, int width) {
  const size_t start = text.find_first_not_of(' ');
  int64_t plain = 0;
  if (start != std::string::npos &&
      ParsePlainDecimal(std::string_view(text).substr(start), true, plain)) {
    const size_t length = text.size() - start;
    const size_t field = static_cast<size_t>(std::min(width, 255));
    const size_t pad = length < field ? field - length : 0;
    if (start == pad) return std::string();
    std::string fitted(pad, ' ');
    fitted.append(text, start, length);
    return fitted;
  }
  int64_t value = 0;
  if (!ParseInteger64(text, value)) value = 0;
  std::string fitted = RightJustifiedNumber(value, width);
  return fitted == text ? std::string() : fitted;
}

}  // namespace

void TForm1::TreeView1Click() {
  if (!TreeReady) {
    RefuseNoFolderTree();
    return;
  }
  ListSelectedFolder();
}

void TForm1::RefuseNoFolderTree() {
  toolkit::RefusalDlg(toolkit::DialogKind::Error, texts::kNoFolderTree);
  StatusBar1.SetText(texts::kChooseSearchFolder);
}

void TForm1::ListSelectedFolder() {
  // Right after a scan nothing is selected yet; a click then has nothing to list.
  const toolkit::NodeId selected = TreeView1.Selected();
  if (selected == toolkit::kNoNode) return;
  ListFolder(PathOfNode(selected));
}

void TForm1::ListFolder(const std::string& exactFolder) {
  const std::string folder = ShownOf(exactFolder);
  ShowStatusNow(texts::kListingPrefix + folder + texts::kListingSuffix);

  ListReady = false;
  StringGrid1.SetRowCount(2);
  StringGrid1.ClearRow(1);
  const int sizeDigits = SizeDigitsFor(StringGrid1.ColWidth(1));
  const std::string dateSep = DateSeparator();
  const std::string timeSep = TimeSeparator();
  std::string text;

  bool completed = true;
  bool reached = false;
  bool outOfMemory = false;
  int count = 0;
  EnumerateEntries(exactFolder + "*.*", kListFilter, [&](const FileEntry& entry) {
    if (EscDown()) {
      completed = false;
      return false;
    }
    reached = true;
    const std::string& name = entry.EntryName;
    if (IsDotEntry(name)) return true;
    // A 32-bit process has 2 GB, a few million rows: where the grid can grow no more, the
    // listing ends at its last whole row, as if Esc had stopped it.
    try {
      AddListedRow(count + 1, entry, sizeDigits, dateSep, timeSep, text);
    } catch (const std::bad_alloc&) {
      // Dropping rows frees and allocates nothing; an empty listing keeps its one empty row.
      StringGrid1.SetRowCount(std::max(count + 1, 2));
      if (count == 0) StringGrid1.ClearRow(1);
      outOfMemory = true;
      completed = false;
      return false;
    }
    ++count;
    return true;
  });

  if (completed) {
    StatusBar1.SetText(FormatInteger(count) + texts::kListCountSuffix + folder +
                       texts::kListCountEnd);
  } else {
    StatusBar1.SetText(outOfMemory ? texts::kListOutOfMemory : texts::kListAborted);
  }
  if (count > 0) ListReady = true;
  listingCompleted_ = completed;
  listingOutOfMemory_ = outOfMemory;
  // Every folder but a drive root lists its "." and ".."; nothing at all means it was not read.
  const bool driveRoot = folder.size() == 3 && folder[1] == ':';
  listingReachedFolder_ = reached || !completed || (driveRoot && FolderExists(exactFolder));
}

void TForm1::AddListedRow(int row, const FileEntry& entry, int sizeDigits,
                          const std::string& dateSep, const std::string& timeSep,
                          std::string& text) {
  const std::string& name = entry.EntryName;
  // A new row comes empty: its five cells are then written.
  StringGrid1.SetRowCount(row + 1);
  StringGrid1.SetCell(0, row, name);
  if (!entry.ExactName.empty()) StringGrid1.SetRowData(row, entry.ExactName);
  text.clear();
  if ((entry.Attributes & faDirectory) != 0) {
    text += texts::kFolderSize;
  } else {
    AppendRightJustifiedNumber(static_cast<int64_t>(entry.EntrySize), sizeDigits, text);
  }
  StringGrid1.SetCell(1, row, text);
  text.clear();
  AppendTypeText(text, name);
  StringGrid1.SetCell(2, row, text);
  text.clear();
  AppendTimeText(text, entry.ModifiedTime, dateSep, timeSep);
  StringGrid1.SetCell(3, row, text);
  text.clear();
  if (entry.Attributes & faArchive) text += texts::kAttrArchive;
  if (entry.Attributes & faReadOnly) text += texts::kAttrReadOnly;
  if (entry.Attributes & faDirectory) text += texts::kAttrDirectory;
  StringGrid1.SetCell(4, row, text);
}

// The listing writes "<Folder>" for a folder's size; the size fitting and the run read it back.
bool TForm1::IsFolderRow(int row) const { return StringGrid1.Cell(1, row) == texts::kFolderSize; }

void TForm1::StringGrid1DrawCell(int col, int row, const toolkit::Rect& /*rect*/) {
  // Every full repaint and every column resize draws this header cell, so the sizes follow the
  // column's width. Writing cells does not repaint the header, so this never feeds itself.
  if (col != 1 || row != 0 || !ListReady) return;
  int digitWidth = StringGrid1.TextWidth("0");
  if (digitWidth < 3) digitWidth = 3;
  int digits = StringGrid1.ColWidth(1) / digitWidth;
  if (digits < 3) digits = 3;

  // A cell that already reads right is left alone rather than written back: the same text
  // would only mark the cell for a repaint the full repaint is already doing.
  const int rows = StringGrid1.RowCount();
  for (int r = 1; r < rows; ++r) {
    const std::string& text = StringGrid1.Cell(1, r);
    if (text.empty() || IsFolderRow(r)) continue;
    std::string fitted = RefittedSize(text, digits);
    if (!fitted.empty()) StringGrid1.SetCell(1, r, std::move(fitted));
  }
}
