// Esc polling and the message pump, scripted by the in-memory volume; every call is counted.
#include "platform/input.h"

#include "platform/memory/volume_impl.h"

bool EscDown() {
  memory::Volume::Impl& volume = memory::Volume::Get().impl();
  const int poll = ++volume.escPolls;
  // A copy: the hook may replace itself.
  if (auto hook = volume.onEscPoll) hook(poll);
  for (const auto& [first, last] : volume.escRanges) {
    if (poll >= first && poll <= last) return true;
  }
  return false;
}

void PumpMessages() {
  memory::Volume::Impl& volume = memory::Volume::Get().impl();
  const int call = ++volume.pumpCalls;
  if (auto hook = volume.onPump) hook(call);
}

uint32_t MillisecondsNow() {
  memory::Volume::Impl& volume = memory::Volume::Get().impl();
  volume.clock += volume.clockStep;
  return volume.clock;
}
