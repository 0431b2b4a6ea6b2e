// The main window: creation of the frame and every child peer, the menu, the model kept in step
// with the frame, the close sequence, and the platform's show and message-loop functions.
#include "toolkit/win32/form.h"

#include <algorithm>

#include <shellapi.h>

#include "toolkit/core/application.h"
#include "toolkit/core/edit.h"
#include "toolkit/core/panel.h"
#include "toolkit/core/splitter.h"
#include "toolkit/core/statusbar.h"
#include "toolkit/core/stringgrid.h"
#include "toolkit/core/treeview.h"
#include "toolkit/win32/application_window.h"
#include "toolkit/win32/edit.h"
#include "toolkit/win32/fonts.h"
#include "toolkit/win32/panel.h"
#include "toolkit/win32/splitter.h"
#include "toolkit/win32/statusbar.h"
#include "toolkit/win32/stringgrid.h"
#include "toolkit/win32/treeview.h"

namespace toolkit::win32 {

namespace {

constexpr UINT kFirstCommand = 100;

// Shared icons of the executable in the system's standard sizes; null when it has none.
HICON LoadIconSized(int id, int widthMetric, int heightMetric) {
  if (id == 0) return nullptr;
  return static_cast<HICON>(LoadImageA(ModuleInstance(), MAKEINTRESOURCEA(id), IMAGE_ICON,
                                       GetSystemMetrics(widthMetric),
                                       GetSystemMetrics(heightMetric), LR_SHARED));
}

// The names in a drop, in its order, as code-page text. The shell's drop holds them wide;
// DragQueryFileA converts them as the file-open dialog's names are.
std::vector<std::string> DroppedPaths(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::string path(DragQueryFileA(drop, i, nullptr, 0), '\0');
    path.resize(DragQueryFileA(drop, i, &path[0], static_cast<UINT>(path.size() + 1)));
    paths.push_back(std::move(path));
  }
  return paths;
}

// Forms whose windows are gone. Their peers stay until the next form is made, so a handler
// still running on a peer's stack when the window closes never finds its object freed.
std::vector<std::unique_ptr<FormWindow>>& Forms() {
  static std::vector<std::unique_ptr<FormWindow>> forms;
  return forms;
}

}  // namespace

FormWindow::FormWindow(Form& form) : form_(form) {
  // The caption shows the form's own icon; the task bar and Alt+Tab the program's.
  const int programIcon = Application::Get().IconId();
  const int formIcon = form.iconId != 0 ? form.iconId : programIcon;
  smallIcon_ = LoadIconSized(formIcon, SM_CXSMICON, SM_CYSMICON);
  bigIcon_ = LoadIconSized(programIcon, SM_CXICON, SM_CYICON);
  RegisterOwnClass(kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                   LoadCursorA(nullptr, IDC_ARROW), bigIcon_, smallIcon_);

  const Rect& b = form.Bounds();
  // Owned by the application window, which has the task bar button with the application title.
  ApplicationWindow& application = ApplicationWindow::Get();
  CreateOwn(kClassName, 0, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, form.Caption().c_str(), b.left,
            b.top, b.width, b.height, application.Handle(), BuildMenu());
  if (Handle() == nullptr) return;
  application.SetMainWindow(Handle());
  form.SetPeer(this);
  if (form.OnDropFiles) DragAcceptFiles(Handle(), TRUE);
  SetIcons();
  FollowFrame();

  CreateChildren(form, Handle(), FontOf(form.font));
}

FormWindow* FormWindow::Of(const Form& form) { return dynamic_cast<FormWindow*>(form.Peer()); }

void FormWindow::SetIcons() {
  if (smallIcon_ != nullptr) {
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  }
  if (bigIcon_ != nullptr) {
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
  }
}

void FormWindow::AppendItems(HMENU menu, const std::vector<MenuItem*>& items) {
  for (MenuItem* item : items) {
    if (item->IsSeparator()) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    } else if (!item->items.empty()) {
      HMENU popup = CreatePopupMenu();
      AppendItems(popup, item->items);
      AppendMenuA(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                  item->caption.c_str());
    } else {
      const UINT id = kFirstCommand + static_cast<UINT>(menuItems_.size());
      menuItems_.push_back(item);
      AppendMenuA(menu, MF_STRING, id, item->caption.c_str());
    }
  }
}

HMENU FormWindow::BuildMenu() {
  if (form_.menu == nullptr) return nullptr;
  HMENU bar = CreateMenu();
  AppendItems(bar, form_.menu->items);
  return bar;
}

void FormWindow::CreateChildren(Control& parent, HWND parentWindow, HFONT font) {
  for (Control* control : parent.Children()) {
    std::unique_ptr<Window> peer;
    if (auto* panel = dynamic_cast<Panel*>(control)) {
      peer = std::make_unique<PanelWindow>(*panel, parentWindow);
    } else if (auto* edit = dynamic_cast<Edit*>(control)) {
      peer = std::make_unique<EditWindow>(*edit, parentWindow, font);
    } else if (auto* splitter = dynamic_cast<Splitter*>(control)) {
      peer = std::make_unique<SplitterWindow>(*splitter, parentWindow);
    } else if (auto* status = dynamic_cast<StatusBar*>(control)) {
      peer = std::make_unique<StatusBarWindow>(*status, parentWindow);
    } else if (auto* tree = dynamic_cast<TreeView*>(control)) {
      peer = std::make_unique<TreeViewWindow>(*tree, parentWindow, font);
    } else if (auto* grid = dynamic_cast<StringGrid*>(control)) {
      peer = std::make_unique<StringGridWindow>(*grid, parentWindow);
    }
    if (peer == nullptr || peer->Handle() == nullptr) continue;
    HWND window = peer->Handle();
    controls_.push_back(control);
    children_.push_back(std::move(peer));
    CreateChildren(*control, window, font);
  }
}

void FormWindow::FollowFrame() {
  // A minimised frame's rectangle is the icon's parking place, not a layout to keep.
  if (Handle() == nullptr || IsIconic(Handle())) return;
  RECT frame, client;
  GetWindowRect(Handle(), &frame);
  GetClientRect(Handle(), &client);
  followingFrame_ = true;
  form_.SetClientSize(client.right, client.bottom);
  form_.SetBounds({frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top});
  followingFrame_ = false;
}

void FormWindow::BoundsChanged() {
  if (followingFrame_ || Handle() == nullptr) return;
  const Rect& b = form_.Bounds();
  SetWindowPos(Handle(), nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::VisibleChanged() {
  if (Handle() != nullptr) ShowWindow(Handle(), form_.Visible() ? SW_SHOW : SW_HIDE);
}

void FormWindow::EnabledChanged() {
  if (Handle() != nullptr) EnableWindow(Handle(), form_.Enabled());
}

void FormWindow::TextChanged() {
  if (Handle() != nullptr) SetWindowTextA(Handle(), form_.Caption().c_str());
}

void FormWindow::Invalidate() {
  if (Handle() != nullptr) InvalidateRect(Handle(), nullptr, TRUE);
}

void FormWindow::Update() {
  if (Handle() != nullptr) UpdateWindow(Handle());
}

void FormWindow::Destroy() {
  if (Handle() != nullptr) DestroyWindow(Handle());
}

void FormWindow::DiscardQueuedDrops() {
  if (Handle() == nullptr) return;
  MSG msg;
  while (PeekMessageA(&msg, Handle(), WM_DROPFILES, WM_DROPFILES, PM_REMOVE)) {
    DragFinish(reinterpret_cast<HDROP>(msg.wParam));
  }
}

void FormWindow::Show() {
  if (Handle() == nullptr) return;
  BoundsChanged();
  // OnShow may move the window and change texts; the first paint shows the result.
  form_.FireShow();
  if (Handle() == nullptr || form_.Closed()) return;
  ShowWindow(Handle(), SW_SHOWNORMAL);
  UpdateWindow(Handle());
}

HWND FormWindow::FirstTabStop() const {
  for (const auto& child : children_) {
    HWND window = child->Handle();
    if (window != nullptr && (GetWindowLongA(window, GWL_STYLE) & WS_TABSTOP) != 0 &&
        IsWindowVisible(window) && IsWindowEnabled(window)) {
      return window;
    }
  }
  return nullptr;
}

LRESULT FormWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) FollowFrame();
      return 0;
    case WM_MOVE:
      FollowFrame();
      return 0;
    case WM_CLOSE:
      // Every close path runs the form's close sequence; it destroys the window if it may.
      form_.Close();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_DROPFILES: {
      // The drop's memory goes back before the handler's scan, which may take long.
      const HDROP drop = reinterpret_cast<HDROP>(wParam);
      const std::vector<std::string> paths = DroppedPaths(drop);
      DragFinish(drop);
      form_.DropFiles(paths);
      return 0;
    }
    case WM_SYSCOMMAND:
      // Minimized alone, an owned window would park on the desktop while the task bar button,
      // which belongs to the application window, stayed up and could not bring it back.
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        ApplicationWindow::Get().Minimize();
        return 0;
      }
      return Default(msg, wParam, lParam);
    case WM_COMMAND:
      if (lParam == 0 && HIWORD(wParam) == 0) {
        const UINT index = LOWORD(wParam) - kFirstCommand;
        if (LOWORD(wParam) >= kFirstCommand && index < menuItems_.size()) {
          menuItems_[index]->Click();
        }
        return 0;
      }
      return Default(msg, wParam, lParam);
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(Handle(), focus)) lastFocus_ = focus;
      }
      return Default(msg, wParam, lParam);
    case WM_SETFOCUS: {
      // The frame itself takes no keys: the focus goes back to the control that had it.
      HWND target = lastFocus_;
      if (target == nullptr || !IsWindow(target) || !IsChild(Handle(), target) ||
          !IsWindowVisible(target) || !IsWindowEnabled(target)) {
        target = FirstTabStop();
      }
      if (target != nullptr) SetFocus(target);
      return 0;
    }
    default:
      return Default(msg, wParam, lParam);
  }
}

void FormWindow::Detached() {
  for (size_t i = 0; i < controls_.size(); ++i) {
    ControlPeer* peer = dynamic_cast<ControlPeer*>(children_[i].get());
    if (controls_[i]->Peer() == peer) controls_[i]->SetPeer(nullptr);
  }
  if (form_.Peer() == this) form_.SetPeer(nullptr);
}

HWND NativeHandle(const Control& control) {
  const Window* window = dynamic_cast<const Window*>(control.Peer());
  return window != nullptr ? window->Handle() : nullptr;
}

}  // namespace toolkit::win32

namespace toolkit {

void PlatformCreatePeers(Form& form) {
  auto& forms = win32::Forms();
  forms.erase(std::remove_if(forms.begin(), forms.end(),
                             [](const auto& old) { return old->Handle() == nullptr; }),
              forms.end());
  forms.push_back(std::make_unique<win32::FormWindow>(form));
  Application::Get().Taskbar().SetPeer(&win32::ApplicationWindow::Get().Taskbar());
}

void PlatformShowForm(Form& form) {
  if (win32::FormWindow* window = win32::FormWindow::Of(form)) window->Show();
}

int PlatformMessageLoop(Form& form) {
  if (win32::FormWindow::Of(form) == nullptr) return 0;
  MSG msg;
  BOOL got;
  const HWND main = win32::FormWindow::Of(form)->Handle();
  while ((got = GetMessageA(&msg, nullptr, 0, 0)) > 0) {
    // The form sees a key before the control with the focus, whichever it is.
    if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) &&
        (msg.hwnd == main || IsChild(main, msg.hwnd))) {
      const unsigned shift = (GetKeyState(VK_SHIFT) < 0 ? ssShift : ssNone) |
                             (GetKeyState(VK_CONTROL) < 0 ? ssCtrl : ssNone) |
                             (GetKeyState(VK_MENU) < 0 ? ssAlt : ssNone);
      if (form.Shortcut(static_cast<int>(msg.wParam), shift)) continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return got == 0 ? static_cast<int>(msg.wParam) : 0;
}

}  // namespace toolkit
