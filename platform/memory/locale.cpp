// Date and time separators of the memory platform, set through the in-memory volume.
#include "platform/locale.h"

#include "platform/memory/volume_impl.h"

std::string DateSeparator() { return memory::Volume::Get().impl().dateSeparator; }

std::string TimeSeparator() { return memory::Volume::Get().impl().timeSeparator; }
