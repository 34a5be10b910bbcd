#pragma once

#include <string>
#include <vector>

// Where a program is: a name holding '/' as it stands when that file exists, else the first file
// of that name on PATH that may be executed. Empty when there is none.
std::string findProgram(const std::string& name);

// Starts argv[0], a path, with argv as its arguments, its standard streams on /dev/null, in folder
// when one is given. Nothing waits for it; it is reaped when it ends. Answers 0, or the errno of
// the failure to start it.
int startProgram(const std::vector<std::string>& argv, const std::string& folder = {});

// Runs argv[0], a path, to its end and answers its standard output; false when it could not run
// or did not end with status 0.
bool programOutput(const std::vector<std::string>& argv, std::string& output);
