// Code page 932, the code page the memory services always assume: its lead bytes; and the
// letters of exact names as a file system that ignores case compares them. Its conversions are
// the conversion_*.cpp of the build's system.
#include "platform/memory/case_fold_932.h"
#include "platform/text.h"

bool IsLeadByte(unsigned char b) { return IsLeadByte932(b); }

std::string CaseFoldedName(const std::string& name) { return UpperCaseExactName(name); }
