// The last guard of every function the browser calls: no exception leaves the module, since
// the browser's frames cannot be unwound (the 32-bit build unwinds with tables the browser
// lacks, and the process would abort).
#ifndef NPDESKLAUNCH_NPRUNTIME_BOUNDARY_GUARD_H
#define NPDESKLAUNCH_NPRUNTIME_BOUNDARY_GUARD_H

// Runs `body` and answers its result, or `failure` when it throws.
template <typename Result, typename Body> Result GuardBoundary(Result failure, Body body) noexcept {
    try {
        return body();
    } catch (...) {
        return failure;
    }
}

// Runs `body`, which answers nothing; an exception ends it quietly.
template <typename Body> void GuardBoundary(Body body) noexcept {
    try {
        body();
    } catch (...) {
    }
}

#endif
