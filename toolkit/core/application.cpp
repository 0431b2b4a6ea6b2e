// The application object and the error box that guards every event handler.
#include "toolkit/core/application.h"

#include <exception>
#include <new>

#include "toolkit/core/form.h"

namespace toolkit {

std::string ErrorBoxText(const std::string& message) {
  // An empty message has no last character to compare, so it is shown as it is.
  if (message.empty()) return message;
  // Unsigned: every lead and trail byte of a two-byte character is above '.', so such a
  // message gets its period too.
  const unsigned char last = static_cast<unsigned char>(message.back());
  return last > static_cast<unsigned char>('.') ? message + "." : message;
}

void RunHandler(const std::function<void()>& handler) {
  if (!handler) return;
  Application& application = Application::Get();
  try {
    handler();
  } catch (const std::exception& e) {
    FailureShown failure(application.Taskbar());
    const std::string& outOfMemory = application.OutOfMemoryText();
    const bool sayOutOfMemory =
        dynamic_cast<const std::bad_alloc*>(&e) != nullptr && !outOfMemory.empty();
    ShowErrorBox(application.Title(), ErrorBoxText(sayOutOfMemory ? outOfMemory : e.what()));
  }
}

Application& Application::Get() {
  static Application application;
  return application;
}

void Application::CreateForm(Form& form) {
  PlatformCreatePeers(form);
  if (form.OnCreate) RunHandler(form.OnCreate);
}

int Application::Run(Form& form) {
  PlatformShowForm(form);
  return PlatformMessageLoop(form);
}

}  // namespace toolkit
