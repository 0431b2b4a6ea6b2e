// The main window's controls, arranged as the program's form constructor arranges them.
#include "tests/support/main_window.h"

#include "resources/layout.h"
#include "resources/resource_ids.h"

namespace testsupport {

MainWindowControls::MainWindowControls() {
  using toolkit::Align;
  panel1.OnResize = [this] {
    ++panel1Resizes;
    edit1.SetWidth(panel1.ClientWidth());
  };
  panel1.SetAlign(Align::Left);
  panel1.SetWidth(layout::kPanel1DesignWidth);
  panel2.SetAlign(Align::Top);
  panel2.SetHeight(layout::kPanel2Height);
  edit1.SetBounds({0, 0, layout::kPanel1DesignWidth, layout::kEdit1Height});
  tree.SetAlign(Align::Client);
  splitter.SetAlign(Align::Left);
  splitter.SetWidth(layout::kSplitterWidth);
  grid.SetAlign(Align::Client);
  grid.SetRowCount(layout::kGridInitialRows);
  status.SetAlign(Align::Bottom);
  status.SetHeight(layout::kStatusBarHeight);
}

toolkit::TreeViewCreateArgs MainWindowControls::TreeArgs() {
  toolkit::TreeViewCreateArgs args;
  args.imageId = IDI_FOLDER;
  return args;
}

toolkit::StringGridCreateArgs MainWindowControls::GridArgs() {
  toolkit::StringGridCreateArgs args;
  args.font = {layout::kGridFontFace, layout::kGridFontHeight, true};
  return args;
}

}  // namespace testsupport
