// What the test process writes into Kestrune's memory for the drop helper it loads there.
#pragma once

#include <windows.h>

namespace e2e {

struct DropRequest {
  HWND window;
  // Wide names, each ending with a zero; an empty one ends the list.
  WCHAR paths[1];
};

}  // namespace e2e
