// The members of std::string, compiled here with the program's flags (for the
// i486) rather than taken from the runtime's prebuilt library. Linked only
// into the shipped files (see cmake/ShippedRuntime.cmake).
#include <string>

template class std::basic_string<char>;
