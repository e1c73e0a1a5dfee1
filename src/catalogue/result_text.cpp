// Entry text, the join of the two blocks and the images folder's place beside the module file.
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

WideString ImagesFolderBeside(const WideString& wstrModulePath) {
    WideString wstrFolder = wstrModulePath;
    const size_t nSlash = wstrFolder.rfind(WIDE('\\'));
    if (nSlash != WideString::npos) {
        wstrFolder.erase(nSlash);
    }
    wstrFolder += WIDE("\\images");
    if (wstrFolder.size() >= kPathCapacity) {
        return WideString();
    }
    return wstrFolder;
}
