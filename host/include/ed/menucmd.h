#pragma once

#pragma GCC visibility push(default)

// "M=" followed by DIESEL text: evaluates it and answers RTKWORD, after which acedGetInput gives
// the value; RTERROR for text the evaluator refuses and for every other menu command.
int acedMenuCmd(const wchar_t* command);

#pragma GCC visibility pop
