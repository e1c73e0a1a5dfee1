// The host's service of one port: requests read from the browser's stream, answered on threads
// of their own, answers written whole, one at a time.
#ifndef NPDESKLAUNCH_MESSAGING_HOST_HOST_SERVICE_H
#define NPDESKLAUNCH_MESSAGING_HOST_HOST_SERVICE_H

#include <windows.h>

#include "messaging_host/host_methods.h"

// Serves the messages read from `hInput` until it ends, answering on `hOutput`. Requests are
// answered concurrently by a few workers; a selectApplication gets a thread of its own, so that
// an open dialog holds up nothing else. Returns once every request read has been answered; while
// a dialog is still open, nobody is left to answer, and it ends the process instead (exit code 0).
void ServeMessages(HANDLE hInput, HANDLE hOutput, HostOperations& operations);

#endif
