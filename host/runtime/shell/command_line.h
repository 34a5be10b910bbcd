#pragma once

#include <string>
#include <vector>

// Command lines by the platform's rules. The program, the first word, ends at a blank outside
// quotes, and its quotes only group. In the arguments, blanks (space, tab) separate; a quote
// groups; "" inside quotes is a literal quote; backslashes are literal except before a quote:
// 2n of them give n and the quote groups, 2n + 1 give n and a literal quote.
std::vector<std::string> splitCommandLine(const std::string& line);

// The word as an argument that splitCommandLine gives back unchanged; quoted only when it must be.
std::string quoteArgument(const std::string& word);

// Words as a POSIX shell splits them, without expanding anything: blanks separate, single
// quotes keep everything, double quotes keep all but \" \\ \$ \` (which drop their backslash),
// a backslash outside quotes keeps the next character. False when a quote is not closed.
bool splitShellWords(const std::string& text, std::vector<std::string>& words);
