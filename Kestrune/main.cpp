// Program entry: the application title, the one window, and the message loop until it closes.
#include "Unit1/Form1.h"
#include "resources/texts.h"
#include "toolkit/core/application.h"

int main() {
  toolkit::Application& application = toolkit::Application::Get();
  application.SetTitle(texts::kApplicationTitle);
  application.SetOutOfMemoryText(texts::kOutOfMemory);
  TForm1 form1;
  application.CreateForm(form1);
  return application.Run(form1);
}
