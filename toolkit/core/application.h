// The application object: its title, the error box around every handler, and the start-up and
// message loop of the platform in use (chosen at link time).
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

#include "toolkit/core/taskbar.h"

namespace toolkit {

class Form;

// An error a handler lets escape; its message is code-page 932 text.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// The error box's text: the message with a period appended when its last byte, taken unsigned,
// sorts after '.'. An empty message stays empty.
std::string ErrorBoxText(const std::string& message);

// Runs an event handler; an exception escaping it is shown in the error box under the
// application title (the task-bar button in the error state meanwhile) and swallowed, so the
// program goes on.
void RunHandler(const std::function<void()>& handler);

class Application {
 public:
  static Application& Get();
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& t) { title_ = t; }
  // The error box's message for memory that ran out (std::bad_alloc), whose own says nothing
  // to a user; empty, the exception's own is shown.
  const std::string& OutOfMemoryText() const { return outOfMemoryText_; }
  void SetOutOfMemoryText(const std::string& t) { outOfMemoryText_ = t; }
  // The program's icon (resource id) for the task bar and the windows' large icons; 0: none.
  int IconId() const { return iconId_; }
  void SetIconId(int id) { iconId_ = id; }
  // The progress on the application's task-bar button.
  TaskbarProgress& Taskbar() { return taskbar_; }

  // Creates the form's native side and fires OnCreate.
  void CreateForm(Form& form);
  // Shows the form (OnShow first) and runs the message loop until it is closed; returns the exit
  // code.
  int Run(Form& form);

 private:
  std::string title_;
  std::string outOfMemoryText_;
  int iconId_ = 0;
  TaskbarProgress taskbar_;
};

// Platform side (toolkit/win32 or toolkit/headless).
void PlatformCreatePeers(Form& form);
void PlatformShowForm(Form& form);
int PlatformMessageLoop(Form& form);
void ShowErrorBox(const std::string& caption, const std::string& text);

}  // namespace toolkit
