// The message box: laid out from the message font in dialog units, run in its own modal loop
// with the dialog manager's keyboard handling (Enter, Esc, Tab, arrows and the &Y/&N mnemonics).
#include "toolkit/win32/message_dialog.h"

#include <algorithm>

#include "toolkit/win32/fonts.h"
#include "toolkit/win32/modal.h"

namespace toolkit::win32 {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
constexpr int kIconSize = 32;
constexpr UINT kTextFormat = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
// Moves the default frame to the focused button once the button has finished taking the focus
// (a style change made while it is still handling WM_SETFOCUS does not stick).
constexpr UINT kMarkDefault = WM_APP + 1;

// Dialog units of the message font: horizontal quarters of the average character width and
// vertical eighths of its height, as dialog templates measure.
struct DialogUnits {
  int baseX;
  int baseY;
  int X(int units) const { return MulDiv(units, baseX, 4); }
  int Y(int units) const { return MulDiv(units, baseY, 8); }
};

DialogUnits MeasureUnits(HDC dc) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SIZE size{};
  GetTextExtentPoint32A(dc, kAlphabet, 52, &size);
  return {std::max(1, static_cast<int>((size.cx / 26 + 1) / 2)),
          std::max(1, static_cast<int>(metrics.tmHeight))};
}

const std::string& CaptionOf(DialogKind kind) {
  const DialogTexts& texts = GetDialogTexts();
  switch (kind) {
    case DialogKind::Information:
      return texts.informationCaption;
    case DialogKind::Error:
      return texts.errorCaption;
    case DialogKind::Confirmation:
      return texts.confirmationCaption;
  }
  return texts.informationCaption;
}

LPCSTR IconOf(DialogKind kind) {
  switch (kind) {
    case DialogKind::Information:
      return IDI_ASTERISK;
    case DialogKind::Error:
      return IDI_HAND;
    case DialogKind::Confirmation:
      return IDI_QUESTION;
  }
  return IDI_ASTERISK;
}

}  // namespace

MessageDialog::MessageDialog(DialogKind kind, std::string text)
    : kind_(kind), text_(std::move(text)) {
  if (kind == DialogKind::Confirmation) {
    choices_ = {{IDYES, GetDialogTexts().yes.c_str(), DialogResult::Yes},
                {IDNO, GetDialogTexts().no.c_str(), DialogResult::No}};
    defaultId_ = IDYES;
    escapeResult_ = DialogResult::No;
  } else {
    choices_ = {{IDOK, GetDialogTexts().ok.c_str(), DialogResult::Ok}};
    defaultId_ = IDOK;
    escapeResult_ = DialogResult::Ok;
  }
  icon_ = LoadIconA(nullptr, IconOf(kind));
}

void MessageDialog::Create(HWND owner) {
  RegisterOwnClass(kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                   LoadCursorA(nullptr, IDC_ARROW));
  HFONT font = MessageFont();

  HDC dc = GetDC(nullptr);
  HGDIOBJ oldFont = SelectObject(dc, font);
  const DialogUnits du = MeasureUnits(dc);
  RECT text{0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0};
  DrawTextA(dc, text_.c_str(), -1, &text, kTextFormat | DT_CALCRECT);
  int buttonWidth = du.X(50);
  for (const ButtonChoice& choice : choices_) {
    SIZE size{};
    GetTextExtentPoint32A(dc, choice.caption, lstrlenA(choice.caption), &size);
    buttonWidth = std::max(buttonWidth, static_cast<int>(size.cx) + du.X(8));
  }
  SelectObject(dc, oldFont);
  ReleaseDC(nullptr, dc);

  const int hMargin = du.X(8), vMargin = du.Y(8), hSpacing = du.X(10), vSpacing = du.Y(10);
  const int buttonHeight = du.Y(14), buttonGap = du.X(4);
  const int textWidth = text.right - text.left, textHeight = text.bottom - text.top;
  const int bodyWidth = kIconSize + hSpacing + textWidth;
  const int bodyHeight = std::max(kIconSize, textHeight);
  const int count = static_cast<int>(choices_.size());
  const int rowWidth = count * buttonWidth + (count - 1) * buttonGap;
  const int clientWidth = std::max(bodyWidth, rowWidth) + 2 * hMargin;
  const int clientHeight = bodyHeight + vSpacing + buttonHeight + 2 * vMargin;

  iconRect_ = {hMargin, vMargin, hMargin + kIconSize, vMargin + kIconSize};
  // A text shorter than the icon stands at the icon's middle.
  const int textTop = vMargin + (bodyHeight - textHeight) / 2;
  textRect_ = {hMargin + kIconSize + hSpacing, textTop, hMargin + kIconSize + hSpacing + textWidth,
               textTop + textHeight};

  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  CreateOwn(kClassName, kExStyle, kStyle, CaptionOf(kind_).c_str(), x, y, width, height, owner,
            nullptr);
  if (Handle() == nullptr) return;

  // The message is a static control, as in the system's own message box, so that tools which
  // read a dialog's texts (screen readers, test drivers) find it. It wraps as DT_WORDBREAK does.
  HWND message = CreateWindowExA(
      0, "STATIC", text_.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, textRect_.left,
      textRect_.top, textRect_.right - textRect_.left, textRect_.bottom - textRect_.top, Handle(),
      nullptr, ModuleInstance(), nullptr);
  SendMessageA(message, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

  int buttonX = (clientWidth - rowWidth) / 2;
  const int buttonY = vMargin + bodyHeight + vSpacing;
  for (const ButtonChoice& choice : choices_) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY |
                  (choice.id == defaultId_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    if (buttons_.empty()) style |= WS_GROUP;
    HWND button = CreateWindowExA(0, "BUTTON", choice.caption, style, buttonX, buttonY, buttonWidth,
                                  buttonHeight, Handle(), reinterpret_cast<HMENU>(choice.id),
                                  ModuleInstance(), nullptr);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    buttons_.push_back(button);
    buttonX += buttonWidth + buttonGap;
  }
  lastFocus_ = GetDlgItem(Handle(), defaultId_);
}

DialogResult MessageDialog::Run() {
  ModalScope modal;
  Create(modal.PreviousActive());
  if (Handle() == nullptr) return DialogResult::Cancel;
  ShowWindow(Handle(), SW_SHOWNORMAL);
  SetActiveWindow(Handle());
  SetFocus(lastFocus_);

  MSG msg;
  while (!done_) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      // A quit request belongs to the outer loop: hand it back and give up the box.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) break;
    if (Handle() == nullptr || !IsDialogMessageA(Handle(), &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  // Enabled again before the box goes, so that activation falls back to the program.
  modal.EnableAgain();
  if (Handle() != nullptr) DestroyWindow(Handle());
  modal.Restore();
  return result_;
}

void MessageDialog::Finish(DialogResult result) {
  if (done_) return;
  result_ = result;
  done_ = true;
}

void MessageDialog::MarkDefault(HWND focused) {
  bool focusOnButton = false;
  for (HWND button : buttons_) focusOnButton = focusOnButton || button == focused;
  for (HWND button : buttons_) {
    const bool isDefault = focusOnButton ? button == focused : GetDlgCtrlID(button) == defaultId_;
    SendMessageA(button, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  }
}

void MessageDialog::MoveFocus(HWND next) {
  if (next == nullptr) return;
  SetFocus(next);
  lastFocus_ = next;
}

void MessageDialog::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  DrawIconEx(dc, iconRect_.left, iconRect_.top, icon_, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
  EndPaint(Handle(), &ps);
}

LRESULT MessageDialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (id == IDCANCEL) {
        // Esc, through the dialog manager.
        Finish(escapeResult_);
        return 0;
      }
      if (code == BN_SETFOCUS) {
        lastFocus_ = reinterpret_cast<HWND>(lParam);
        PostMessageA(Handle(), kMarkDefault, 0, 0);
        return 0;
      }
      if (code == BN_CLICKED) {
        for (const ButtonChoice& choice : choices_) {
          if (choice.id == id) Finish(choice.result);
        }
        return 0;
      }
      return 0;
    }
    case kMarkDefault:
      MarkDefault(GetFocus());
      return 0;
    case DM_GETDEFID: {
      // Enter presses the focused button, else the default one.
      const HWND focus = GetFocus();
      for (HWND button : buttons_) {
        if (button == focus) return MAKELRESULT(GetDlgCtrlID(button), DC_HASDEFID);
      }
      return MAKELRESULT(defaultId_, DC_HASDEFID);
    }
    case WM_NEXTDLGCTL:
      // Tab and the arrows: the dialog manager asks us to move the focus.
      if (LOWORD(lParam) != 0) {
        MoveFocus(reinterpret_cast<HWND>(wParam));
      } else {
        MoveFocus(GetNextDlgTabItem(Handle(), GetFocus(), wParam != 0));
      }
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(Handle(), focus)) lastFocus_ = focus;
      } else if (lastFocus_ != nullptr) {
        SetFocus(lastFocus_);
      }
      return 0;
    case WM_CLOSE:
      // The close box (or Alt+F4): neither yes nor no.
      Finish(DialogResult::Cancel);
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_DESTROY:
      done_ = true;
      return 0;
    default:
      return Default(msg, wParam, lParam);
  }
}

}  // namespace toolkit::win32

namespace toolkit {

DialogResult MessageDlg(DialogKind kind, const std::string& text) {
  win32::MessageDialog dialog(kind, text);
  return dialog.Run();
}

}  // namespace toolkit
