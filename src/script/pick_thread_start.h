// How SelectApplications starts its picker thread.
#ifndef NPDESKLAUNCH_SCRIPT_PICK_THREAD_START_H
#define NPDESKLAUNCH_SCRIPT_PICK_THREAD_START_H

#include <stdint.h>

typedef unsigned int(__stdcall* PickThreadProc)(void* pArgument);

// Starts `proc` with `pArgument` on a new thread and answers its handle, 0 when no thread
// started. The module starts threads with _beginthreadex; tests that link the module's code
// put a failing starter here.
typedef uintptr_t (*PickThreadStarter)(PickThreadProc proc, void* pArgument);
extern PickThreadStarter StartPickThread;

#endif
