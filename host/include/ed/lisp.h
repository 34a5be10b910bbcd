#pragma once

#pragma GCC visibility push(default)

// External LISP functions: a module defines names with codes; evaluating "(NAME)" sends the
// defining module kInvkSubrMsg, during which acedGetFunCode answers the code (or calls the
// function given with acedRegFunc directly). A name "C:xxx" is also the command "xxx".
int acedDefun(const wchar_t* name, short funcNumber);
int acedUndef(const wchar_t* name, short funcNumber);
int acedGetFunCode();
int acedRegFunc(int (*function)(), int funcNumber);
// Queues an expression; queued expressions are evaluated when the current command, script line
// or evaluation has finished.
int ads_queueexpr(const wchar_t* expression);
// Reports that the external function being evaluated failed.
void acdbFail(const wchar_t* message);

// Evaluates one expression of the command line; false when it failed.
bool svEvaluateLisp(const wchar_t* expression);
// Evaluates what was queued, in order, including what the evaluations queue.
void svEvaluateQueuedExpressions();

#pragma GCC visibility pop
