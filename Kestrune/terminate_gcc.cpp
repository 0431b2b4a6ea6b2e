// The program's terminate handler under GCC. An exception that nothing catches ends the program
// (every one a handler lets escape is caught by toolkit::RunHandler, so only a bug gets here).
// libstdc++'s default handler first writes the exception's demangled type to standard error,
// which a GUI program does not have, and brings the demangler and a printf (some 70 KB) into the
// executable; defined here, it stays out, and the end is the same abort.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
