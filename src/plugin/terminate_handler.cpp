// The C++ runtime's default terminate handler of GCC writes the exception's demangled type to
// the standard error stream, which a plug-in in a browser does not have. This one only ends the
// process, and so the demangler and the formatted output stay out of the module.
#include <stdlib.h>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {

void __verbose_terminate_handler() {
    abort();
}

} // namespace __gnu_cxx
#endif
