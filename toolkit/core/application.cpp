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
  } catch (const std::bad_alloc& e) {
    FailureShown failure(application.Taskbar());
    const std::string& text = application.OutOfMemoryText();
    ShowErrorBox(application.Title(), ErrorBoxText(text.empty() ? e.what() : text));
  } catch (const std::exception& e) {
    FailureShown failure(application.Taskbar());
    ShowErrorBox(application.Title(), ErrorBoxText(e.what()));
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
