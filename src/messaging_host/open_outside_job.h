// Programs the host starts outlive it. Firefox puts the host in a job object and ends the whole
// job when its port closes; a program started inside that job would end with it.
#ifndef NPDESKLAUNCH_MESSAGING_HOST_OPEN_OUTSIDE_JOB_H
#define NPDESKLAUNCH_MESSAGING_HOST_OPEN_OUTSIDE_JOB_H

#include "common/wide_text.h"

// The argument that gives the host program its second role: "--open-file <drive path>".
extern const WideChar kOpenFileSwitch[];

// Has the shell open the drive path `wstrFile` as the launcher does, though without the shell's
// error boxes: in this process when it is
// in no job; otherwise from a copy of this program started outside the job
// (CREATE_BREAKAWAY_FROM_JOB), or, when the job lets nothing break away, in this process after
// all. True when the shell accepted the request.
bool OpenOutsideJob(const WideString& wstrFile);

// The second role, for a command line of this program whose first argument is kOpenFileSwitch:
// opens the drive path that follows it. The exit code is 0 when the shell accepted the request.
int OpenFileRole(const WideChar* wszCommandLine);

#endif
