// The main window's controls as the form resource arranges them, from the toolkit models alone:
// the layout tests lay it out headless, the GUI tests give it native peers and a menu.
#pragma once

#include "toolkit/core/edit.h"
#include "toolkit/core/form.h"
#include "toolkit/core/panel.h"
#include "toolkit/core/splitter.h"
#include "toolkit/core/statusbar.h"
#include "toolkit/core/stringgrid.h"
#include "toolkit/core/treeview.h"

namespace testsupport {

// Panel1 (left, at its design width) holding Panel2 (top) with Edit1, and TreeView1 (client);
// Splitter1; StringGrid1 (client); StatusBar1 (bottom). Created in the form resource's order,
// the status bar last, so the bottom group must be laid out before the left one whatever the
// creation order. Edit1 follows the width of Panel1, as the program's Panel1Resize makes it.
struct MainWindowControls {
  MainWindowControls();
  MainWindowControls(const MainWindowControls&) = delete;
  MainWindowControls& operator=(const MainWindowControls&) = delete;

  toolkit::Form form{"Form1"};
  toolkit::Panel panel1{"Panel1", &form};
  toolkit::Panel panel2{"Panel2", &panel1};
  toolkit::Edit edit1{"Edit1", &panel2};
  toolkit::TreeView tree{"TreeView1", &panel1, TreeArgs()};
  toolkit::Splitter splitter{"Splitter1", &form};
  toolkit::StringGrid grid{"StringGrid1", &form, 5, GridArgs()};
  toolkit::StatusBar status{"StatusBar1", &form};
  int panel1Resizes = 0;

 private:
  // The tree and the grid as the program makes them: the folder image on every node, the
  // grid's fixed-pitch font.
  static toolkit::TreeViewCreateArgs TreeArgs();
  static toolkit::StringGridCreateArgs GridArgs();
};

}  // namespace testsupport
