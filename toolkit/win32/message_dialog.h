// The modal message box of the three kinds (information, error, confirmation): a system icon,
// the word-wrapped text beside it and one centred row of push buttons.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/core/dialogs.h"
#include "toolkit/win32/window.h"

namespace toolkit::win32 {

class MessageDialog : public Window {
 public:
  static constexpr char kClassName[] = "KestruneMessageDialog";

  MessageDialog(DialogKind kind, std::string text);
  // Shows the box, waits for the answer with every other window disabled, and returns it.
  DialogResult Run();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  struct ButtonChoice {
    int id;
    const char* caption;  // the program's dialog texts, which outlive every dialog
    DialogResult result;
  };
  void Create(HWND owner);
  void Paint();
  void Finish(DialogResult result);
  // The focused push button is the one Enter presses; it gets the default frame.
  void MarkDefault(HWND focused);
  void MoveFocus(HWND next);

  DialogKind kind_;
  std::string text_;
  std::vector<ButtonChoice> choices_;
  std::vector<HWND> buttons_;
  int defaultId_ = IDOK;
  DialogResult escapeResult_ = DialogResult::Ok;
  HICON icon_ = nullptr;
  RECT iconRect_{};
  RECT textRect_{};
  HWND lastFocus_ = nullptr;
  bool done_ = false;
  DialogResult result_ = DialogResult::Cancel;
};

}  // namespace toolkit::win32
