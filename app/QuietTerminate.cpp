// The shipped program's terminate handler. libstdc++'s default one writes the type of the
// exception that ended the program to stderr, which a GUI program has nowhere to show, and links
// the whole C++ demangler for it: a sixth of sonobar.exe. Defining the handler here keeps that
// out of the link. The program ends as it would after the text: with abort(). The test programs
// and sonobar-sim.exe keep the default, whose text appears in their output.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx
