// The measuring thunk and the report of a mismatch.
#include "nphost/checked_call.h"

#include "nphost/browser.h"

namespace nphost {

void ReportStackMismatch(const char* what, Convention convention, uint32_t nArgumentBytes,
                         long nPopped) {
    const bool bStdcall = convention == Convention::Stdcall;
    Browser::Get().Violation(std::string(what) + " removed " + std::to_string(nPopped) +
                             " bytes of arguments from the stack; " +
                             (bStdcall ? "__stdcall" : "__cdecl") + " requires " +
                             std::to_string(bStdcall ? nArgumentBytes : 0));
}

} // namespace nphost

#if defined(_M_IX86) || defined(__i386__)
// Saves the stack pointer in EBX, pushes the words onto a 16-byte aligned area, calls, then
// measures how far the callee moved the stack pointer and restores it.
__asm__(".text\n"
        ".globl _NpdCallWords\n"
        "_NpdCallWords:\n"
        "    pushl %ebp\n"
        "    movl %esp, %ebp\n"
        "    pushl %ebx\n"
        "    pushl %esi\n"
        "    pushl %edi\n"
        "    movl %esp, %ebx\n"
        "    movl 16(%ebp), %ecx\n"
        "    movl 12(%ebp), %esi\n"
        "    leal (,%ecx,4), %eax\n"
        "    movl %ebx, %edx\n"
        "    subl %eax, %edx\n"
        "    andl $-16, %edx\n"
        "    movl %edx, %esp\n"
        "    xorl %eax, %eax\n"
        "1:  cmpl %ecx, %eax\n"
        "    jae 2f\n"
        "    movl (%esi,%eax,4), %edx\n"
        "    movl %edx, (%esp,%eax,4)\n"
        "    incl %eax\n"
        "    jmp 1b\n"
        "2:  movl %esp, %edi\n"
        "    call *8(%ebp)\n"
        "    movl %esp, %ecx\n"
        "    subl %edi, %ecx\n"
        "    movl 20(%ebp), %esi\n"
        "    movl %ecx, (%esi)\n"
        "    movl %ebx, %esp\n"
        "    popl %edi\n"
        "    popl %esi\n"
        "    popl %ebx\n"
        "    popl %ebp\n"
        "    ret\n");
#endif
