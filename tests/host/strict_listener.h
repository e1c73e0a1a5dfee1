// A GoogleTest listener that checks the browser's books after every test.
#ifndef NPDESKLAUNCH_TESTS_HOST_STRICT_LISTENER_H
#define NPDESKLAUNCH_TESTS_HOST_STRICT_LISTENER_H

namespace nphost {

// Appends the listener to GoogleTest's: a test fails when, during it, the browser saw misuse
// (see Browser::Violation) or when browser blocks or objects are live after it that were not
// live before it.
void InstallStrictListener();

} // namespace nphost

#endif
