// Program entry: the application title, the one window, and the message loop until it closes.
#include "Unit1/Form1.h"
#include "toolkit/core/application.h"

int main() {
  TForm1::ConfigureApplication();
  toolkit::Application& application = toolkit::Application::Get();
  TForm1 form1;
  application.CreateForm(form1);
  return application.Run(form1);
}
