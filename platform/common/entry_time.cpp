// Seconds of entry times, shaped as the DOS date/time packing the listing was built around.
#include "platform/common/entry_time.h"

LocalDateTime AsDeliveredTime(LocalDateTime local) {
  if (local.year >= 1980 && local.year <= 2107) local.second -= local.second % 2;
  return local;
}
