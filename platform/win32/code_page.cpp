// Lead bytes of the ANSI code page in force, read once from the system.
#include <windows.h>

#include <array>

#include "platform/text.h"

namespace {

std::array<bool, 256> ReadLeadBytes() {
  std::array<bool, 256> lead{};
  CPINFO info;
  if (GetSystemMetrics(SM_DBCSENABLED) == 0 || !GetCPInfo(CP_ACP, &info)) return lead;
  // Pairs of range bounds, ended by a zero pair.
  for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
    for (int b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b) lead[b] = true;
  }
  return lead;
}

}  // namespace

bool IsLeadByte(unsigned char b) {
  static const std::array<bool, 256> lead = ReadLeadBytes();
  return lead[b];
}
