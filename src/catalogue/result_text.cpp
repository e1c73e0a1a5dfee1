// Entry text and the join of the two blocks.
#include "catalogue/result_text.h"

namespace {

const size_t kResultReserve = 8192;

} // namespace

void AppendEntryText(WideString& wstrBlock, const WideString& wstrPath,
                     const WideString& wstrName) {
    wstrBlock += wstrPath;
    wstrBlock += WIDE('*');
    wstrBlock += wstrName;
    wstrBlock += WIDE('#');
}

size_t JoinResultText(WideString& wstrResult, const WideString& wstrAccessoryBlock,
                      const WideString& wstrHistoryBlock) {
    wstrResult.clear();
    wstrResult.reserve(kResultReserve);
    wstrResult += wstrAccessoryBlock;
    wstrResult += wstrHistoryBlock;
    return wstrResult.size();
}
