// What every platform's dialogs share: which of them are open, and the failure dialog.
#include "toolkit/core/dialogs.h"

#include "toolkit/core/application.h"

namespace toolkit {

namespace {

// Dialogs open now: one thread, and a dialog may open another (the error box over a handler
// run from a dialog's message loop).
int openDialogs = 0;

DialogTexts& Texts() {
  static DialogTexts texts;
  return texts;
}

}  // namespace

void SetDialogTexts(const DialogTexts& texts) { Texts() = texts; }

const DialogTexts& GetDialogTexts() { return Texts(); }

DialogResult FailureDlg(DialogKind kind, const std::string& text) {
  FailureShown failure(Application::Get().Taskbar());
  return MessageDlg(kind, text);
}

void RefusalDlg(DialogKind kind, const std::string& text) {
  Beep();
  FailureDlg(kind, text);
}

bool DialogOpen() { return openDialogs > 0; }

DialogScope::DialogScope() { ++openDialogs; }

DialogScope::~DialogScope() { --openDialogs; }

}  // namespace toolkit
