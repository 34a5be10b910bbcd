#pragma once

#include <string>

// Whether a module defined the external LISP function; "C:NAME" ones are commands too.
bool svHasExternalFunction(const std::wstring& name);
