// The tests' one look at the main window's private state, read only: they reach every state
// through the handlers a user would use.
#pragma once

#include <string>

#include "Unit1/Form1.h"

struct FormState {
  bool FormShown;
  bool TreeReady;
  bool ListReady;
  bool ScanAborted;
  bool SortDescending;
  std::string SearchFolder;
  std::string IniFileName;
};

struct FormStateOf {
  static FormState Read(const TForm1& form) {
    return {form.FormShown,      form.TreeReady,    form.ListReady,  form.ScanAborted,
            form.SortDescending, form.SearchFolder, form.IniFileName};
  }
};
