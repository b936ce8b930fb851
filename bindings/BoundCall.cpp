#include "bindings/BoundCall.h"

namespace
{

// int __cdecl StackKeepingThunk(FARPROC function, const intptr_t* args,
//                               size_t count, intptr_t* bytesLeft)
// Pushes the arguments from the last to the first, calls, and writes into
// *bytesLeft how many bytes of them the callee left on the stack (0 for
// __stdcall). EBX keeps the stack pointer of before the pushes: every calling
// convention of the platform preserves it. A callee built with more
// parameters than it is given owns the slots above its arguments and may
// write them: a gap of 16 spare slots keeps the saved registers and the
// return address out of its reach.
__attribute__((naked)) int __cdecl StackKeepingThunk(FARPROC, const std::intptr_t*, std::size_t,
                                                     std::intptr_t*)
{
    asm volatile("pushl %ebp\n\t"
                 "movl %esp, %ebp\n\t"
                 "pushl %ebx\n\t"
                 "pushl %esi\n\t"
                 "subl $64, %esp\n\t" // 16 spare slots
                 "movl %esp, %ebx\n\t"
                 "movl 12(%ebp), %esi\n\t"
                 "movl 16(%ebp), %ecx\n\t"
                 "1:\n\t"
                 "testl %ecx, %ecx\n\t"
                 "jz 2f\n\t"
                 "pushl -4(%esi,%ecx,4)\n\t"
                 "decl %ecx\n\t"
                 "jmp 1b\n\t"
                 "2:\n\t"
                 "calll *8(%ebp)\n\t"
                 "movl %ebx, %ecx\n\t"
                 "subl %esp, %ecx\n\t"
                 "movl %ebx, %esp\n\t"
                 "movl 20(%ebp), %edx\n\t"
                 "movl %ecx, (%edx)\n\t"
                 "addl $64, %esp\n\t"
                 "popl %esi\n\t"
                 "popl %ebx\n\t"
                 "popl %ebp\n\t"
                 "ret\n\t");
}

} // namespace

namespace qel
{

bool CallKeepingStack(FARPROC function, const std::intptr_t* args, std::size_t count, int& result)
{
    std::intptr_t bytesLeft = 0;
    result = StackKeepingThunk(function, args, count, &bytesLeft);
    return bytesLeft == 0;
}

} // namespace qel
