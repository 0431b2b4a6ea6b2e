// Reading the journal.
#include "journal/reader.h"

#include <algorithm>
#include <memory>

#include "journal/policy.h"

namespace journal {

namespace {

constexpr size_t kReadPiece = 1 << 20;

}  // namespace

void Parser::Complete(long long number) {
  const auto it = pending_.find(number);
  if (it == pending_.end()) return;
  const Pending& entry = it->second;
  if (reading_ == Reading::OpenPlans) {
    // Neither an undo's progress nor the run's renames matter to recovery.
  } else if (entry.undoes > 0) {
    undone_.push_back(entry.undoes);
  } else if (entry.undoes == 0 && entry.undoable) {
    done_.push_back({number, entry.offset});
  }
  pending_.erase(it);
}

void Parser::Line(const std::string& line, uint64_t offset) {
  if (!contents_.usable) return;
  const Header header = HeaderOf(line);
  if (first_ || header != Header::None) {
    if (header == Header::None) {
      contents_.usable = false;
      return;
    }
    first_ = false;
    contents_.codePage = header == Header::CodePage;
    afterHeader_ = true;
    contents_.isJournal = true;
    contents_.folder.clear();
    // A run appended to an unfinished journal: only its own renames can be undone, and the
    // earlier ones' entries still wait for recovery.
    for (auto& [number, entry] : pending_) entry.undoes = -1;
    done_.clear();
    undone_.clear();
    undoing_ = 0;
    contents_.finished = false;
    return;
  }
  const bool folderMayFollow = afterHeader_;
  afterHeader_ = false;
  const std::vector<std::string> fields = FieldsOf(line);
  const std::string& kind = fields[0];
  if (kind == "folder" && fields.size() == 2) {
    // Only right after its header: a folder named later could widen what an undo may touch.
    std::string folder;
    if (folderMayFollow && ExactPathOf(fields[1], contents_.codePage, folder) &&
        IsRunPath(folder) && folder.back() == '\\') {
      contents_.folder = folder;
    }
    return;
  }
  long long number = 0;
  const bool numbered = fields.size() >= 2 && ParseNumber(fields[1], number);
  if (IsFinished(fields)) {
    contents_.finished = true;
    return;
  }
  if (!numbered) return;
  contents_.finished = false;
  contents_.lastNumber = std::max(contents_.lastNumber, number);
  Plan plan;
  if (ParsePlan(fields, contents_.codePage, number, plan)) {
    // A direct rename without its outcome can only be one whose process died: no record of it
    // can follow a later rename, and nothing is left to recover of it.
    for (auto it = pending_.begin(); it != pending_.end();) {
      it = it->second.plan.temporaryPath.empty() ? pending_.erase(it) : std::next(it);
    }
    const bool undoable = undoing_ == 0 && IsUndoable(plan, contents_.folder);
    // Recovery acts only on what lies inside the run's folder, where the run named one.
    const bool inside = contents_.folder.empty() || IsInside(plan.oldPath, contents_.folder);
    if (plan.temporaryPath.empty() || !inside) plan = Plan{};
    pending_[number] = {std::move(plan), offset, undoing_, undoable};
    undoing_ = 0;
    if (pending_.size() > kMaxOpenPlans) contents_.usable = false;
  } else if (kind == "undoing" && fields.size() == 2) {
    undoing_ = number;
  } else if (kind == "result" && fields.size() == 3) {
    if (fields[2] == "renamed") {
      Complete(number);
    } else if (fields[2] != "stranded") {
      pending_.erase(number);
    }
  } else if (kind == "recovered" && fields.size() == 3) {
    if (fields[2] == "new") {
      Complete(number);
    } else {
      pending_.erase(number);
    }
  }
}

Contents Parser::Finish() {
  if (!contents_.usable) {
    Contents unusable;
    unusable.usable = false;
    return unusable;
  }
  for (auto& [number, entry] : pending_) {
    if (!entry.plan.temporaryPath.empty()) contents_.open[number] = std::move(entry.plan);
  }
  pending_.clear();
  std::sort(undone_.begin(), undone_.end());
  for (const StandingRename& rename : done_) {
    if (!std::binary_search(undone_.begin(), undone_.end(), rename.number)) {
      contents_.undoable.push_back(rename);
    }
  }
  done_.clear();
  undone_.clear();
  return std::move(contents_);
}

namespace {

// Feeds the lines of text to the parser: a line a piece of kMaxRecordBytes cannot hold makes the
// whole unusable; a last line without its end is passed over.
class LineSplitter {
 public:
  explicit LineSplitter(Parser& parser) : parser_(parser) {}
  void Feed(const std::string& piece) {
    size_t start = 0;
    for (size_t end; (end = piece.find('\n', start)) != std::string::npos; start = end + 1) {
      if (carried_.empty()) {
        Emit(piece.substr(start, end - start));
      } else {
        carried_.append(piece, start, end - start);
        Emit(carried_);
        carried_.clear();
      }
      offset_ = next_;
    }
    carried_.append(piece, start, std::string::npos);
    if (carried_.size() > kMaxRecordBytes) {
      parser_.Unusable();
      carried_.clear();
    }
  }

 private:
  void Emit(std::string line) {
    next_ = offset_ + line.size() + 1;
    if (line.size() > kMaxRecordBytes) parser_.Unusable();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    parser_.Line(line, offset_);
  }
  Parser& parser_;
  std::string carried_;
  uint64_t offset_ = 0;
  uint64_t next_ = 0;
};

struct CloseInputFileDeleter {
  void operator()(InputFile* file) const { CloseInputFile(file); }
};

}  // namespace

Contents Parse(const std::string& text, Reading reading) {
  Parser parser(reading);
  LineSplitter lines(parser);
  lines.Feed(text);
  return parser.Finish();
}

Contents ReadJournal(const std::string& path, Reading reading) {
  if (path.empty()) return {};
  const std::unique_ptr<InputFile, CloseInputFileDeleter> file(OpenInputFile(path));
  if (!file) return {};
  Parser parser(reading);
  LineSplitter lines(parser);
  std::string piece;
  for (uint64_t offset = 0;; offset += piece.size()) {
    if (!ReadInputFile(file.get(), offset, kReadPiece, piece)) {
      parser.Unusable();
      break;
    }
    if (piece.empty()) break;
    lines.Feed(piece);
  }
  return parser.Finish();
}

bool RecordReader::FromWindow(uint64_t offset, std::string& line) const {
  if (offset < windowStart_ || offset - windowStart_ >= window_.size()) return false;
  const size_t begin = static_cast<size_t>(offset - windowStart_);
  const size_t end = window_.find('\n', begin);
  if (end == std::string::npos) return false;
  line.assign(window_, begin, end - begin);
  return true;
}

bool RecordReader::LineAt(uint64_t offset, std::string& line) {
  if (FromWindow(offset, line)) return true;
  // The window ends a little past the asked record, so that it holds the ones before it.
  constexpr uint64_t kWindowBytes = 64 * 1024;
  constexpr uint64_t kPastRecord = 4 * 1024;
  windowStart_ = offset + kPastRecord > kWindowBytes ? offset + kPastRecord - kWindowBytes : 0;
  if (!ReadInputFile(file_, windowStart_, static_cast<size_t>(kWindowBytes), window_)) {
    window_.clear();
    return false;
  }
  if (FromWindow(offset, line)) return true;
  // A long record is read on in growing pieces, up to the longest a run writes.
  std::string piece;
  for (size_t size = 16 * 1024;; size *= 4) {
    if (!ReadInputFile(file_, offset, size, piece)) return false;
    const size_t end = piece.find('\n');
    if (end != std::string::npos) {
      line = piece.substr(0, end);
      return true;
    }
    if (piece.size() < size || size > kMaxRecordBytes) return false;
  }
}

bool ReadStandingRename(RecordReader& reader, const StandingRename& rename,
                        const std::string& folder, bool codePage, Plan& plan) {
  std::string line;
  if (!reader.LineAt(rename.offset, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  long long number = 0;
  return ParsePlan(FieldsOf(line), codePage, number, plan) && number == rename.number &&
         IsUndoable(plan, folder);
}

bool MayBeUnfinished(const std::string& path) {
  std::string tail;
  return !path.empty() && ReadFileTail(path, kTailBytes, tail) && !TailShowsFinished(tail);
}

}  // namespace journal
