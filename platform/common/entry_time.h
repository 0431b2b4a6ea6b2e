// The modification time an enumerated entry reports, the same on every platform.
#pragma once

#include "platform/files.h"

// A local time inside the DOS range (1980-01-01 .. 2107-12-31) with its seconds rounded down
// to even, as the DOS date/time packing stores them; any other time unchanged.
LocalDateTime AsDeliveredTime(LocalDateTime local);
