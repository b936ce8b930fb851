// Calls into a library bound by name. The maker's functions are declared
// __stdcall (the callee removes its arguments), but an older or foreign build
// may be __cdecl and leave them on the stack; code that addresses its locals
// through the stack pointer would then read and return through the wrong
// slots. The call goes through a small thunk that keeps the stack pointer in
// a callee-saved register and puts it back after the call, whatever the
// callee removed.
#pragma once

#include <cstddef>
#include <cstdint>

#include <windows.h>

namespace qel
{

// Calls function with count 32-bit arguments (args[0] first) and stores its
// 32-bit result. True when the callee removed exactly its arguments, as
// __stdcall does; false when it left them (or removed more): the stack is
// right again either way.
bool CallKeepingStack(FARPROC function, const std::intptr_t* args, std::size_t count, int& result);

} // namespace qel
