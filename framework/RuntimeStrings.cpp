// The members of std::string and std::wstring (the native walk keeps system
// names in the latter), compiled here with the program's flags (for the i486)
// rather than taken from the runtime's prebuilt library. Linked only into the
// shipped files (see cmake/ShippedRuntime.cmake).
#include <string>

template class std::basic_string<char>;
template class std::basic_string<wchar_t>;
