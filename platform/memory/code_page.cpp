// Lead bytes of code page 932, the code page the memory services always assume.
#include "platform/text.h"

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
