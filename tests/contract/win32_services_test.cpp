// Behaviour only the real implementation has: names without a code-page form, Wine's links,
// the long-path forms, the key state and the message queue.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "platform/files.h"
#include "platform/input.h"
#include "platform/memory/case_fold_932.h"
#include "platform/rename.h"
#include "platform/text.h"
#include "platform/win32/wide_path.h"
#include "tests/contract/fixture.h"

namespace {

bool UnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll"), "wine_get_version") != nullptr;
}

TEST(Win32Files, NameWithoutACodePageFormIsListedButNeverRenamed) {
  auto fixture = MakeContractFixture();
  const std::string root = fixture->Root();
  std::wstring folder;
  ASSERT_TRUE(LongPathOf(root, folder));
  // é has no code-page 932 form; cafx.txt is what a wildcard '?' would also match.
  for (const wchar_t* name : {L"caf\u00e9.txt", L"cafx.txt"}) {
    HANDLE file =
        CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
  }
  std::vector<std::string> names;
  EnumerateEntries(root + "*.*", kListFilter, [&names](const FileEntry& entry) {
    names.push_back(entry.EntryName);
    return true;
  });
  EXPECT_EQ(std::count(names.begin(), names.end(), "caf?.txt"), 1);

  EXPECT_FALSE(RenameEntry(root + "caf?.txt", root + "CAF?.TXT"));
  EXPECT_FALSE(RenameEntry(root + "caf?.txt", root + "other.txt"));
  EXPECT_NE(GetFileAttributesW((folder + L"caf\u00e9.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesW((folder + L"cafx.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  std::vector<std::string> stored = fixture->NamesIn(root);
  EXPECT_EQ(std::count(stored.begin(), stored.end(), "cafx.txt"), 1);
}

TEST(Win32Files, WineShowsAUnixLinkToAFolderAsAReparsePointWithoutTag) {
  if (!UnderWine()) GTEST_SKIP() << "a Wine fact";
  auto fixture = MakeContractFixture();
  const std::string root = fixture->Root();
  fixture->MakeFolder(root + "target", faDirectory);
  ASSERT_TRUE(fixture->MakeLink(root + "link", root + "target"));
  FileEntry link;
  EnumerateEntries(root + "link", kScanFilter, [&link](const FileEntry& entry) {
    link = entry;
    return true;
  });
  EXPECT_EQ(link.EntryName, "link");
  EXPECT_EQ(link.Attributes & (faDirectory | faReparsePoint), faDirectory | faReparsePoint);
  EXPECT_TRUE(link.IsLink);
}

TEST(Win32Files, LongPathForms) {
  std::wstring path;
  ASSERT_TRUE(LongPathOf("C:\\dir\\file.txt", path));
  EXPECT_EQ(path, L"\\\\?\\C:\\dir\\file.txt");
  ASSERT_TRUE(LongPathOf("\\\\server\\share\\dir\\", path));
  EXPECT_EQ(path, L"\\\\?\\UNC\\server\\share\\dir\\");
  ASSERT_TRUE(LongPathOf("\\\\?\\C:\\x", path));
  EXPECT_EQ(path, L"\\\\?\\C:\\x");
  // Taken literally, so a name ending in a dot keeps it...
  ASSERT_TRUE(LongPathOf("C:\\dir\\name.", path));
  EXPECT_EQ(path, L"\\\\?\\C:\\dir\\name.");
  // ...but "." and ".." components and '/' are resolved first.
  ASSERT_TRUE(LongPathOf("C:\\a\\..\\b\\.\\c", path));
  EXPECT_EQ(path, L"\\\\?\\C:\\b\\c");
  ASSERT_TRUE(LongPathOf("C:/a/b", path));
  EXPECT_EQ(path, L"\\\\?\\C:\\a\\b");
  // A relative path is taken from the current folder.
  wchar_t current[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, current);
  std::wstring expected = std::wstring(L"\\\\?\\") + current;
  if (expected.back() != L'\\') expected += L'\\';
  ASSERT_TRUE(LongPathOf("sub\\f.txt", path));
  EXPECT_EQ(path, expected + L"sub\\f.txt");
  // Exact paths convert exactly, characters the code page lacks too; bytes that form no
  // character do not convert at all.
  const std::string exact = u8"C:\\表\\〜\\\U0001F600";
  ASSERT_TRUE(LongPathOf(exact, path));
  EXPECT_EQ(path, L"\\\\?\\C:\\\u8868\\\u301c\\\U0001F600");
  EXPECT_FALSE(LongPathOf("C:\\x\x81", path));
  EXPECT_FALSE(LongPathOf("", path));
  EXPECT_FALSE(ExactLongPathOf("C:\\a?b", path));
  EXPECT_FALSE(ExactLongPathOf("C:\\a*", path));
  EXPECT_TRUE(ExactLongPathOf("\\\\?\\C:\\a", path));
}

TEST(Win32Files, RelativePathsWork) {
  auto fixture = MakeContractFixture();
  const std::string root = fixture->Root();
  fixture->MakeFolder(root + "rel", faDirectory);
  fixture->MakeFile(root + "rel\\A.TXT");
  wchar_t saved[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, saved);
  std::wstring folder;
  ASSERT_TRUE(LongPathOf(root, folder));
  ASSERT_TRUE(SetCurrentDirectoryW(folder.substr(4).c_str()));
  EXPECT_TRUE(FolderExists("rel"));
  EXPECT_TRUE(RenameEntry("rel\\A.TXT", "rel\\a.txt"));
  int count = 0;
  EnumerateEntries("rel\\*.*", kListFilter, [&count](const FileEntry&) { return ++count, true; });
  SetCurrentDirectoryW(saved);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(fixture->NamesIn(root + "rel"), std::vector<std::string>{"a.txt"});
}

TEST(Win32Files, ExecutablePathIsThisProgram) {
  const std::string path = ExecutablePath();
  EXPECT_TRUE(FolderExists(FolderPartOf(path)));
  char module[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
  EXPECT_EQ(path, std::string(module, length));
}

// ---- Input ----

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER) {
    ++*reinterpret_cast<int*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The system's rule for names, as CaseFoldedName applies it, against the table that the memory
// volume compares by: over every character of the code page a listing can give (those that come
// back from their UTF-16 form unchanged) and the Latin ones up to U+017F, both must cut the
// characters into the same classes, and each character must answer to its table form in the
// system's own comparison.
TEST(Win32Text, CaseFoldingOfEveryCharacterIsTheSystems) {
  std::map<std::string, std::string> systemOfTable;
  std::map<std::string, std::string> tableOfSystem;
  int characters = 0;
  auto check = [&](const std::wstring& wide) {
    ++characters;
    char exact[8];
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                          exact, sizeof exact, nullptr, nullptr);
    const std::string c(exact, static_cast<size_t>(bytes));
    const std::string table = UpperCaseExactName(c);
    const std::string system = CaseFoldedName(c);
    EXPECT_EQ(systemOfTable.emplace(table, system).first->second, system) << c;
    EXPECT_EQ(tableOfSystem.emplace(system, table).first->second, table) << c;
    wchar_t tableWide[2];
    const int units =
        MultiByteToWideChar(CP_UTF8, 0, table.data(), static_cast<int>(table.size()), tableWide, 2);
    ASSERT_EQ(units, static_cast<int>(wide.size()));
    EXPECT_EQ(CompareStringOrdinal(wide.data(), units, tableWide, units, TRUE), CSTR_EQUAL) << c;
  };
  auto checkCodePage = [&](const std::string& c) {
    wchar_t wide[2];
    char back[4];
    const int units = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, c.data(),
                                          static_cast<int>(c.size()), wide, 2);
    if (units != 1 ||
        WideCharToMultiByte(932, 0, wide, 1, back, sizeof back, nullptr, nullptr) !=
            static_cast<int>(c.size()) ||
        std::string(back, c.size()) != c) {
      return;
    }
    check(std::wstring(1, wide[0]));
  };
  for (int b = 0x20; b < 0x100; ++b) {
    if (!IsLeadByte(static_cast<unsigned char>(b)))
      checkCodePage(std::string(1, static_cast<char>(b)));
  }
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      checkCodePage(std::string{static_cast<char>(lead), static_cast<char>(trail)});
    }
  }
  for (wchar_t latin = 0xA0; latin <= 0x17F; ++latin) check(std::wstring(1, latin));
  EXPECT_GT(characters, 7000);
}

TEST(Win32Input, PumpDispatchesEverythingAndKeepsTheQuit) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = CountingProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"KestrunePumpTest";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowW(L"KestrunePumpTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  int handled = 0;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&handled));

  for (int i = 0; i < 3; ++i) PostMessageW(window, WM_USER, 0, 0);
  Sleep(20);  // past the pump's polling interval
  PumpMessages();
  EXPECT_EQ(handled, 3);

  PostQuitMessage(7);
  PostMessageW(window, WM_USER, 0, 0);
  Sleep(20);
  PumpMessages();
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  DestroyWindow(window);
}

void SendEsc(bool down) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = VK_ESCAPE;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
}

TEST(Win32Input, EscDownReadsTheLiveKeyState) {
  Sleep(20);
  EXPECT_FALSE(EscDown());
  SendEsc(true);
  Sleep(20);
  if (!(GetAsyncKeyState(VK_ESCAPE) & 0x8000)) {
    SendEsc(false);
    GTEST_SKIP() << "synthetic key presses do not reach the key state here";
  }
  EXPECT_TRUE(EscDown());
  SendEsc(false);
  Sleep(20);
  EXPECT_FALSE(EscDown());
}

}  // namespace
