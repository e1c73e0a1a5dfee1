// How long the tests wait for something that should happen soon.
#ifndef NPDESKLAUNCH_TOOLS_NPHOST_TEST_TIME_H
#define NPDESKLAUNCH_TOOLS_NPHOST_TEST_TIME_H

#include <windows.h>

#ifndef NPD_TEST_TIME_SCALE
#define NPD_TEST_TIME_SCALE 1
#endif

namespace nphost {

// A wait that ends only a run gone wrong: `dwMs` as on a machine of normal speed, times the
// factor the tests' time limits carry where the tests run slowly (under an emulator).
inline DWORD PatientWait(DWORD dwMs) {
    return dwMs * NPD_TEST_TIME_SCALE;
}

} // namespace nphost

#endif
