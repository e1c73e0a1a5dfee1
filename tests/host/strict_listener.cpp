// The browser's books compared before and after each test.
#include "host/strict_listener.h"

#include <gtest/gtest.h>
#include <stdio.h>

#include <map>
#include <set>
#include <string>

#include "nphost/browser.h"

namespace nphost {

namespace {

std::string Pointer(const void* p) {
    char text[32];
    snprintf(text, sizeof(text), "%p", p);
    return text;
}

class StrictListener : public ::testing::EmptyTestEventListener {
  public:
    void OnTestStart(const ::testing::TestInfo&) override {
        Browser& browser = Browser::Get();
        nViolations_ = browser.Violations().size();
        blocks_.clear();
        for (const auto& block : browser.Allocator().Blocks()) {
            blocks_.insert(block.first);
        }
        objects_ = browser.LiveObjectSet();
    }

    void OnTestEnd(const ::testing::TestInfo&) override {
        Browser& browser = Browser::Get();
        const std::vector<std::string> violations = browser.Violations();
        for (size_t i = nViolations_; i < violations.size(); ++i) {
            ADD_FAILURE() << "browser misuse: " << violations[i];
        }
        const size_t nPending = browser.PendingAsyncCalls();
        const std::string pending =
            nPending ? " (" + std::to_string(nPending) + " asynchronous calls still pending)" : "";
        for (const auto& block : browser.Allocator().Blocks()) {
            if (blocks_.count(block.first) == 0) {
                ADD_FAILURE() << "leak: the " << block.second << "-byte block "
                              << Pointer(block.first)
                              << " from NPN_MemAlloc is still live after the test" << pending;
            }
        }
        for (NPObject* object : browser.LiveObjectSet()) {
            if (objects_.count(object) == 0) {
                ADD_FAILURE() << "leak: object " << Pointer(object) << " (class "
                              << Pointer(object->_class) << ", reference count "
                              << object->referenceCount << ") is still live after the test"
                              << pending;
            }
        }
    }

  private:
    size_t nViolations_ = 0;
    std::set<const void*> blocks_;
    std::set<NPObject*> objects_;
};

} // namespace

void InstallStrictListener() {
    ::testing::UnitTest::GetInstance()->listeners().Append(new StrictListener);
}

} // namespace nphost
