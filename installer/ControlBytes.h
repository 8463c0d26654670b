#pragma once

// Text from outside the program (an argument, a file name, the machine's reason for a
// failure) shown where one entry must stay one line: in an error sentence, in the log.

#include <string>
#include <string_view>

// Text with each control byte (below 0x20, and 0x7F) written as \xNN, so that a line break
// or an escape sequence in it can neither end the line nor act on the terminal. Every other
// byte goes in as it is: a name in UTF-8 reads as the user wrote it.
std::string EscapeControlBytes(std::string_view Text);
