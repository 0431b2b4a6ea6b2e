// The main window itself: the controls and menu as the form resource defines them, start-up
// (FormShow), the layout, and every way of closing.
#include "Unit1/Form1.h"

#include "Unit2/Unit2.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/text.h"
#include "resources/layout.h"
#include "resources/resource_ids.h"
#include "resources/texts.h"
#include "toolkit/core/application.h"
#include "toolkit/core/dialogs.h"

using toolkit::Align;

namespace {

constexpr char kIniFileName[] = "Kestrune.ini";

toolkit::EditCreateArgs Edit1Args() {
  toolkit::EditCreateArgs args;
  args.readOnly = true;
  args.tabStop = false;
  // It shows the search folder, and a click on it chooses one, as the dialog this names does.
  args.accessibleName = texts::kOpenDialogTitle;
  return args;
}

toolkit::TreeViewCreateArgs TreeView1Args() {
  toolkit::TreeViewCreateArgs args;
  args.indent = layout::kTreeIndent;
  args.showLines = true;
  args.showButtons = true;
  args.showRoot = true;
  args.readOnly = true;
  args.hideSelection = true;
  args.toolTips = true;
  args.imageId = IDI_FOLDER;
  return args;
}

toolkit::StringGridCreateArgs StringGrid1Args() {
  toolkit::StringGridCreateArgs args;
  args.font = {layout::kGridFontFace, layout::kGridFontHeight, true};
  args.defaultRowHeight = layout::kGridRowHeight;
  args.gridLineWidth = layout::kGridLineWidth;
  args.textInset = layout::kGridTextInset;
  args.grabLeft = layout::kGrabLeft;
  args.grabRight = layout::kGrabRight;
  // A listed row's data is its entry's exact name, where the shown name is not.
  args.exactTextColumn = 0;
  return args;
}

}  // namespace

void TForm1::ConfigureApplication() {
  toolkit::Application& application = toolkit::Application::Get();
  application.SetTitle(texts::kApplicationTitle);
  application.SetIconId(IDI_PROGRAM);
  application.SetOutOfMemoryText(texts::kOutOfMemory);
  toolkit::DialogTexts dialogs;
  dialogs.informationCaption = texts::kCaptionInformation;
  dialogs.errorCaption = texts::kCaptionError;
  dialogs.confirmationCaption = texts::kCaptionConfirmation;
  dialogs.ok = texts::kButtonOk;
  dialogs.yes = texts::kButtonYes;
  dialogs.no = texts::kButtonNo;
  toolkit::SetDialogTexts(dialogs);
}

TForm1::TForm1()
    : Form("Form1"),
      File1("File1", texts::kMenuFile),
      MnuSearchFolder("MnuSearchFolder", texts::kMenuSearchFolder),
      N1("N1", "-"),
      MnuKestrune("MnuKestrune", texts::kMenuKestrune),
      N2("N2", "-"),
      MnuExit("MnuExit", texts::kMenuExit),
      Panel1("Panel1", this),
      Panel2("Panel2", &Panel1),
      Edit1("Edit1", &Panel2, Edit1Args()),
      TreeView1("TreeView1", &Panel1, TreeView1Args()),
      Splitter1("Splitter1", this),
      StringGrid1("StringGrid1", this, layout::kGridColumns, StringGrid1Args()),
      StatusBar1("StatusBar1", this) {
  SetCaption(texts::kFormCaption);
  SetBounds({layout::kDesignLeft, layout::kDesignTop, layout::kDesignWidth, layout::kDesignHeight});
  font = {layout::kFormFontFace, layout::kFormFontHeight};
  iconId = IDI_FORM;

  File1.items = {&MnuSearchFolder, &N1, &MnuKestrune, &N2, &MnuExit};
  MainMenu1.items = {&File1};
  menu = &MainMenu1;
  MnuSearchFolder.OnClick = [this] { MnuSearchFolderClick(); };
  MnuKestrune.OnClick = [this] { MnuKestruneClick(); };
  MnuExit.OnClick = [this] { MnuExitClick(); };

  Panel1.OnResize = [this] { Panel1Resize(); };
  Panel1.SetAlign(Align::Left);
  Panel1.SetBevel(toolkit::Bevel::Raised);
  Panel1.SetWidth(layout::kPanel1DesignWidth);

  Panel2.SetAlign(Align::Top);
  Panel2.SetBevel(toolkit::Bevel::Raised);
  Panel2.SetHeight(layout::kPanel2Height);

  Edit1.SetBounds({0, 0, layout::kPanel1DesignWidth, layout::kEdit1Height});
  Edit1.OnClick = [this] { MnuSearchFolderClick(); };

  TreeView1.SetAlign(Align::Client);
  TreeView1.OnClick = [this] { TreeView1Click(); };

  Splitter1.SetAlign(Align::Left);
  Splitter1.SetWidth(layout::kSplitterWidth);
  Splitter1.minSize = layout::kSplitterMinSize;

  StringGrid1.SetAlign(Align::Client);
  StringGrid1.SetRowCount(layout::kGridInitialRows);
  for (int c = 0; c < layout::kGridColumns; ++c) {
    StringGrid1.SetColWidth(c, layout::kGridInitialColumnWidth);
  }
  StringGrid1.OnDrawCell = [this](int col, int row, const toolkit::Rect& rect) {
    StringGrid1DrawCell(col, row, rect);
  };
  StringGrid1.OnMouseDown = [this](toolkit::MouseButton button, unsigned shift, int x, int y) {
    StringGrid1MouseDown(button, shift, x, y);
  };

  StatusBar1.SetAlign(Align::Bottom);
  StatusBar1.SetHeight(layout::kStatusBarHeight);

  OpenDialog1.Title = texts::kOpenDialogTitle;

  OnCreate = [this] { FormCreate(); };
  OnShow = [this] { FormShow(); };
  OnCloseQuery = [this] { return FormCloseQuery(); };
  OnClose = [this] { FormClose(); };
  OnDropFiles = [this](const std::vector<std::string>& paths) { FormDropFiles(paths); };
  OnShortcut = [this](int key, unsigned shift) {
    if (key != 'Z' || shift != toolkit::ssCtrl) return false;
    UndoLastRun();
    return true;
  };
}

void TForm1::FormCreate() {
  FormShown = false;
  TreeReady = false;
  ListReady = false;
  SortDescending = false;
}

void TForm1::FormShow() {
  StatusBar1.SetText(texts::kChooseSearchFolder);
  FormShown = true;

  const char* const headers[] = {texts::kHeaderName, texts::kHeaderBytes, texts::kHeaderType,
                                 texts::kHeaderModified, texts::kHeaderAttributes};
  for (int c = 0; c < layout::kGridColumns; ++c) StringGrid1.SetCell(c, 0, headers[c]);

  ExeFolder = FolderPartOf(ExecutablePath());
  // Only the folder dialog's starting place depends on it, so a share path (no drive letter)
  // simply gives "\:\".
  SearchFolder = ExeFolder.substr(0, 1) + ":\\";
  IniFileName = ExeFolder + kIniFileName;
  // Before the window takes any command, and before a bad setting can cut FormShow short.
  RecoverInterruptedRun();

  Layout.left = layout::kDefaultLeft;
  Layout.top = layout::kDefaultTop;
  Layout.width = layout::kDefaultWidth;
  Layout.height = layout::kDefaultHeight;
  Layout.panelWidth = layout::kDefaultPanelWidth;
  for (int c = 0; c < layout::kGridColumns; ++c) {
    Layout.columnWidths[c] = layout::kDefaultColumnWidths[c];
  }
  // A bad number in the file escapes from here to the error box, and the window keeps its
  // design bounds: nothing after the bad key is applied.
  LoadSettings();
  ApplyLayout();
}

void TForm1::ApplyLayout() {
  SetBounds({Layout.left, Layout.top, Layout.width, Layout.height});
  Panel1.SetWidth(Layout.panelWidth);
  for (int c = 0; c < layout::kGridColumns; ++c) {
    StringGrid1.SetColWidth(c, Layout.columnWidths[c]);
  }
}

void TForm1::Panel1Resize() { Edit1.SetWidth(Panel1.ClientWidth()); }

void TForm1::MnuExitClick() {
  if (toolkit::MessageDlg(toolkit::DialogKind::Confirmation, texts::kConfirmExit) ==
      toolkit::DialogResult::Yes) {
    Close();
  }
}

bool TForm1::FormCloseQuery() {
  if (!scanning_) return true;
  // The running scan still works on the tree and the window: stop it at its next poll, as Esc
  // would, and close once it has unwound.
  closeAfterScan_ = true;
  ScanAborted = true;
  return false;
}

void TForm1::FormClose() {
  // The window closes whatever happens to the settings file: a failed write is a result, and
  // anything else escapes to the error box around this handler, after which the close goes on.
  SaveSettings();
}

void TForm1::ShowStatusNow(const std::string& text) {
  StatusBar1.SetText(text);
  const uint32_t now = MillisecondsNow();
  if (renaming_ && statusPainted_ && now - lastStatusPaint_ < kRenamingPaintMs) return;
  StatusBar1.Refresh();
  lastStatusPaint_ = now;
  statusPainted_ = renaming_;
}
