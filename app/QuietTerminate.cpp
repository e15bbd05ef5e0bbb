// The shipped program's terminate handler. libstdc++'s default one writes the type of the
// exception that ended the program to stderr, which a GUI program has nowhere to show, and links
// the whole C++ demangler for it: a sixth of sonobar.exe. Defining the handler here keeps that
// out of the link. The program ends as it would after the text: with abort(). The test programs
// and sonobar-sim.exe keep the default, whose text appears in their output.
//
// The program catches no exception, so the library's helpers that throw for the containers and
// std::function (a length past the maximum, a call of an empty function) end it the same way,
// at once. libstdc++'s own helpers build their exceptions from its old reference-counted string
// and pull that string's every member into the link with them: a fifth of sonobar.exe.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx

namespace std {
[[noreturn]] void __throw_bad_alloc()
{
    std::abort();
}
[[noreturn]] void __throw_bad_array_new_length()
{
    std::abort();
}
[[noreturn]] void __throw_bad_function_call()
{
    std::abort();
}
[[noreturn]] void __throw_length_error(const char*)
{
    std::abort();
}
[[noreturn]] void __throw_logic_error(const char*)
{
    std::abort();
}
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...)
{
    std::abort();
}
} // namespace std
