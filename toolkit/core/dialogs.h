// Modal message dialogs, the refusal beep and the file-open dialog. The platform in use
// (win32 or headless) supplies the functions.
#pragma once

#include <cstdint>
#include <string>

namespace toolkit {

enum class DialogKind { Information, Error, Confirmation };
enum class DialogResult { Ok, Yes, No, Cancel };

// What a message dialog shows beside its text: the caption of each kind and the buttons' labels,
// given by the program before its first dialog (empty until then).
struct DialogTexts {
  std::string informationCaption;
  std::string errorCaption;
  std::string confirmationCaption;
  std::string ok;
  std::string yes;
  std::string no;
};
void SetDialogTexts(const DialogTexts& texts);
const DialogTexts& GetDialogTexts();

// Information and error: OK; confirmation: Yes and No. The close box gives Cancel.
DialogResult MessageDlg(DialogKind kind, const std::string& text);

// A message dialog telling of a failure or a refusal: the task-bar button shows the error state
// while it is open.
DialogResult FailureDlg(DialogKind kind, const std::string& text);
// A refused command: the refusal beep, then its dialog, a failure dialog.
void RefusalDlg(DialogKind kind, const std::string& text);

// True while a message dialog, the error box or the file-open dialog is open. Their message
// loops still hand the main window what is posted to it.
bool DialogOpen();
// A dialog is open for as long as one lives; every platform's dialogs make one.
class DialogScope {
 public:
  DialogScope();
  ~DialogScope();
  DialogScope(const DialogScope&) = delete;
  DialogScope& operator=(const DialogScope&) = delete;
};

// The sound of a refused command: the system's simple beep (MessageBeep's 0xFFFF). The platform
// plays the sound type it is given.
constexpr unsigned kRefusalBeep = 0xFFFF;
void Beep(unsigned soundType = kRefusalBeep);

// The file-open dialog used to choose a folder.
class OpenDialog {
 public:
  static constexpr uint32_t kFlags = 0x00880024;  // ENABLEHOOK|HIDEREADONLY|EXPLORER|ENABLESIZING
  static constexpr int kBufferSize = 260;
  std::string Title;
  std::string InitialDir;
  std::string FileName;  // preset before Execute; the chosen path after it
  // True when the user pressed Open; FileName then holds the folder shown, '\' and the name.
  bool Execute();
};

}  // namespace toolkit
