// A usage history no shell would write, made from a fixed seed: 2,000 values whose names are
// 0 to 300 units of letter-rotated random text (braces, percents, colons, backslashes, Chinese,
// surrogate pairs, lone surrogates) with 0 to 200 bytes of data; known-folder descriptions with
// cycles, a folder that is its own parent and a 50-deep chain; and among them 28 programs that
// do exist, one reached through a 10-deep chain of known folders (Windows 7) or through
// "%csidl2%" (Windows XP).
#ifndef NPDESKLAUNCH_TESTS_WIN_HOSTILE_HISTORY_H
#define NPDESKLAUNCH_TESTS_WIN_HOSTILE_HISTORY_H

#include <stdint.h>

#include <string>
#include <vector>

#include "nphost/usage_history_seed.h"

namespace hostile {

const size_t kValueCount = 2000;
const uint32_t kSeed = 0x4E504431;

// A program of the history that exists: the path the catalogue lists, its name, its count, and
// whether the family's reader takes its value (Windows XP's takes no path with a "%" in it).
struct Program {
    std::wstring path;
    std::wstring name;
    int nRunCount;
    bool bRead;
};

struct History {
    std::vector<nphost::RawHistoryValue> values; // as stored, in no particular order
    std::vector<Program> programs;               // most used first
};

// The same values for the same family and seed, on every run.
History MakeHistory(nphost::HistoryFamily family, uint32_t nSeed);

// The history stored for the family, its programs copied into place and the known-folder
// descriptions written; all of it removed again on destruction.
class InstalledHistory {
  public:
    InstalledHistory(nphost::HistoryFamily family, uint32_t nSeed);
    ~InstalledHistory();
    InstalledHistory(const InstalledHistory&) = delete;
    InstalledHistory& operator=(const InstalledHistory&) = delete;

    // False, with what went wrong, when something could not be set up.
    bool Ready(std::string& problem) const;
    const History& Get() const { return history_; }

  private:
    nphost::HistoryFamily family_;
    History history_;
    std::string problem_;
};

// The first thing wrong with a catalogue text in UTF-8, or empty: not UTF-8 (an encoded
// surrogate included), not made of "path*name#" entries with a drive path and a name, not
// beginning with `accessoryBlock`, or more than 20 entries after it.
std::string CatalogueTextProblem(const std::string& text, const std::string& accessoryBlock);

} // namespace hostile

#endif
