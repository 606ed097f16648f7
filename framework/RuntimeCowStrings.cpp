// The members of the reference-counted std::string that the runtime's
// exception classes hold their messages in, compiled here with the program's
// flags (for the i486). Linked only into the shipped files (see
// cmake/ShippedRuntime.cmake).
#define _GLIBCXX_USE_CXX11_ABI 0
#include <string>

template class std::basic_string<char>;
