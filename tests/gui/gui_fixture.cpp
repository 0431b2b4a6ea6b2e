// The GUI test fixture: arrangement, pump, window search and the modal-dialog driver thread.
#include "tests/gui/gui_fixture.h"

#include <cstdio>

#include "Unit1/Form1.h"
#include "toolkit/core/application.h"
#include "toolkit/win32/form.h"

namespace gui {

namespace {

int quitsSeen = 0;
const DWORD testThread = GetCurrentThreadId();

}  // namespace

DWORD TestThread() { return testThread; }

void Pump(int ms) {
  const DWORD start = GetTickCount();
  MSG msg;
  do {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        ++quitsSeen;
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (GetTickCount() - start < static_cast<DWORD>(ms));
}

bool PumpUntil(const std::function<bool()>& condition, int timeoutMs) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > static_cast<DWORD>(timeoutMs)) return condition();
    Pump(10);
  }
  return true;
}

int QuitsSeen() { return quitsSeen; }

RECT RectInParent(HWND hwnd) {
  RECT rect;
  GetWindowRect(hwnd, &rect);
  MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT ClientRectOf(HWND hwnd) {
  RECT rect{};
  GetClientRect(hwnd, &rect);
  return rect;
}

namespace {

struct TextCollection {
  const char* className;
  std::vector<std::string> texts;
};

BOOL CALLBACK CollectText(HWND hwnd, LPARAM data) {
  auto* collection = reinterpret_cast<TextCollection*>(data);
  if (_stricmp(ClassOf(hwnd).c_str(), collection->className) == 0) {
    collection->texts.push_back(TextOf(hwnd));
  }
  return TRUE;
}

}  // namespace

HWND FindThreadWindow(DWORD threadId, const char* className, const char* caption) {
  testsupport::WindowSearch search;
  search.className = className;
  search.caption = caption;
  EnumThreadWindows(threadId, testsupport::MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<std::string> ChildTexts(HWND parent, const char* className) {
  TextCollection collection{className, {}};
  EnumChildWindows(parent, CollectText, reinterpret_cast<LPARAM>(&collection));
  return collection.texts;
}

namespace {

// The settings file and the journal the window reads and writes beside the program.
void ForgetWhatTheProgramKeeps() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  folder.resize(folder.rfind('\\') + 1);
  for (const char* name : {"Kestrune.ini", "Kestrune.log"}) DeleteFileA((folder + name).c_str());
}

}  // namespace

ProgramWindow::ProgramWindow() {
  TForm1::ConfigureApplication();
  ForgetWhatTheProgramKeeps();
  form.OnShow = [this, show = form.OnShow] {
    visibleDuringShow = IsWindowVisible(FormWindow()) != FALSE;
    show();
  };
}

ProgramWindow::~ProgramWindow() {
  // The windows go before the models they show.
  if (HWND hwnd = FormWindow()) DestroyWindow(hwnd);
  Pump(5);
  ForgetWhatTheProgramKeeps();
}

void ProgramWindow::Create() { toolkit::Application::Get().CreateForm(form); }

void ProgramWindow::Show() {
  toolkit::PlatformShowForm(form);
  Pump(20);
}

HWND ProgramWindow::FormWindow() const { return toolkit::win32::NativeHandle(form); }

HWND ProgramWindow::Of(const toolkit::Control& control) {
  return toolkit::win32::NativeHandle(control);
}

Driver::Driver(std::function<HWND()> find, std::function<void(HWND)> act, int timeoutMs)
    : thread_([this, find = std::move(find), act = std::move(act), timeoutMs] {
        const auto waitFor = [timeoutMs](const std::function<bool()>& condition) {
          const DWORD start = GetTickCount();
          while (!condition()) {
            if (GetTickCount() - start > static_cast<DWORD>(timeoutMs)) return false;
            Sleep(10);
          }
          return true;
        };
        HWND hwnd = nullptr;
        if (!waitFor([&] { return (hwnd = find()) != nullptr; })) {
          PostThreadMessageA(testThread, WM_QUIT, 0, 0);
          return;
        }
        // Let the modal loop settle (focus, first paint) before answering.
        Sleep(50);
        act(hwnd);
        if (!waitFor([&] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); })) {
          PostThreadMessageA(testThread, WM_QUIT, 0, 0);
          return;
        }
        answered_ = true;
      }) {}

Driver::~Driver() { Join(); }

bool Driver::Join() {
  if (thread_.joinable()) thread_.join();
  return answered_;
}

void PostKey(HWND hwnd, UINT virtualKey, char character) {
  const UINT scan = MapVirtualKeyA(virtualKey, 0);
  PostMessageA(hwnd, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
  if (character != 0) PostMessageA(hwnd, WM_CHAR, static_cast<BYTE>(character), 1 | (scan << 16));
  PostMessageA(hwnd, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
}

bool TypeKey(WORD virtualKey) {
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = virtualKey;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return SendInput(2, keys, sizeof(INPUT)) == 2;
}

bool SaveScreenshot(HWND hwnd, const std::string& name) {
  std::string folder = KESTRUNE_SCREENSHOT_DIR;
  if (!folder.empty() && folder[0] == '/') folder = "Z:" + folder;  // Linux paths under Wine
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string path = folder + "/" + name;
  RECT rect;
  if (!GetWindowRect(hwnd, &rect)) return false;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<unsigned char> pixels(static_cast<size_t>(stride) * height);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  BITMAPFILEHEADER fileHeader{};
  fileHeader.bfType = 0x4D42;
  fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
  fileHeader.bfSize = fileHeader.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  std::fwrite(&fileHeader, sizeof fileHeader, 1, out);
  std::fwrite(&header, sizeof header, 1, out);
  std::fwrite(pixels.data(), 1, pixels.size(), out);
  std::fclose(out);
  return true;
}

}  // namespace gui
