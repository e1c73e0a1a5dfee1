// NPN_MemAlloc's heap: guarded blocks of a private heap, checked when they are freed.
#include "nphost/browser.h"

#include <stdio.h>
#include <string.h>

namespace nphost {

namespace {

// Guard bytes around each block: a header that also keeps the block's size, and a tail.
const size_t kHeadBytes = 16;
const size_t kTailBytes = 16;
const unsigned char kHeadGuard = 0xAB;
const unsigned char kTailGuard = 0xFD;
const unsigned char kFreshFill = 0xCD; // new blocks: reading before writing shows
const unsigned char kFreedFill = 0xDD; // freed blocks: reading after freeing shows

std::string Address(const void* p) {
    char text[32];
    snprintf(text, sizeof(text), "%p", p);
    return text;
}

bool AllBytes(const unsigned char* p, size_t n, unsigned char value) {
    for (size_t i = 0; i < n; ++i) {
        if (p[i] != value) {
            return false;
        }
    }
    return true;
}

} // namespace

TrackedAllocator::TrackedAllocator() : hHeap_(HeapCreate(0, 0, 0)) {}

TrackedAllocator::~TrackedAllocator() {
    // The heap stays: the module may still hold blocks when the process ends.
}

void* TrackedAllocator::Alloc(uint32_t nSize) {
    requests_.push_back(nSize);
    if (nFailNext_ > 0) {
        --nFailNext_;
        return nullptr;
    }
    unsigned char* pRaw =
        static_cast<unsigned char*>(HeapAlloc(hHeap_, 0, kHeadBytes + nSize + kTailBytes));
    if (!pRaw) {
        return nullptr;
    }
    memset(pRaw, kHeadGuard, kHeadBytes);
    memset(pRaw + kHeadBytes, kFreshFill, nSize);
    memset(pRaw + kHeadBytes + nSize, kTailGuard, kTailBytes);
    void* pBlock = pRaw + kHeadBytes;
    blocks_[pBlock] = nSize;
    freed_.erase(pBlock);
    return pBlock;
}

void TrackedAllocator::Free(void* pBlock) {
    if (!pBlock) {
        return;
    }
    auto it = blocks_.find(pBlock);
    if (it == blocks_.end()) {
        Browser::Get().Violation("NPN_MemFree of " + Address(pBlock) +
                                 (freed_.count(pBlock)
                                      ? ": the block was freed already (freed twice)"
                                      : ": not a block that NPN_MemAlloc gave out"));
        return;
    }
    const uint32_t nSize = it->second;
    unsigned char* pRaw = static_cast<unsigned char*>(pBlock) - kHeadBytes;
    if (!AllBytes(pRaw, kHeadBytes, kHeadGuard)) {
        Browser::Get().Violation("NPN_MemFree of the " + std::to_string(nSize) + "-byte block " +
                                 Address(pBlock) + ": written before its start");
    }
    if (!AllBytes(pRaw + kHeadBytes + nSize, kTailBytes, kTailGuard)) {
        Browser::Get().Violation("NPN_MemFree of the " + std::to_string(nSize) + "-byte block " +
                                 Address(pBlock) + ": written past its end");
    }
    blocks_.erase(it);
    freed_.insert(pBlock);
    memset(pRaw, kFreedFill, kHeadBytes + nSize + kTailBytes);
    HeapFree(hHeap_, 0, pRaw);
}

long long TrackedAllocator::BlockSize(const void* pBlock) const {
    auto it = blocks_.find(pBlock);
    return it == blocks_.end() ? -1 : static_cast<long long>(it->second);
}

} // namespace nphost
