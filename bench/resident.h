// Resident set size of the host benchmarks (Linux: /proc), for memory per node or row.
#pragma once

#include <unistd.h>

#include <fstream>

namespace bench {

inline long ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

}  // namespace bench
