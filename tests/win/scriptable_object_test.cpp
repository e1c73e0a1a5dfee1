// The scripted object's class record, default call and (absent) properties.
#include <string.h>

#include "module_fixture.h"

namespace {

using nphost::Arguments;
using nphost::Browser;

class ScriptedObject : public ::testing::Test {
  protected:
    void SetUp() override {
        object_ = instance_.ScriptableObject();
        ASSERT_NE(nullptr, object_);
        class_ = object_->_class;
    }
    NPIdentifier Id(const char* name) { return Browser::Get().StringIdentifier(name); }

    nphost::Instance instance_{Module()};
    NPObject* object_ = nullptr;
    NPClass* class_ = nullptr;
};

TEST_F(ScriptedObject, ClassRecordIsVersion3WithAllTwelveEntries) {
    EXPECT_EQ(static_cast<uint32_t>(NP_CLASS_STRUCT_VERSION_CTOR), class_->structVersion);
    const void* entries[] = {reinterpret_cast<void*>(class_->allocate),
                             reinterpret_cast<void*>(class_->deallocate),
                             reinterpret_cast<void*>(class_->invalidate),
                             reinterpret_cast<void*>(class_->hasMethod),
                             reinterpret_cast<void*>(class_->invoke),
                             reinterpret_cast<void*>(class_->invokeDefault),
                             reinterpret_cast<void*>(class_->hasProperty),
                             reinterpret_cast<void*>(class_->getProperty),
                             reinterpret_cast<void*>(class_->setProperty),
                             reinterpret_cast<void*>(class_->removeProperty),
                             reinterpret_cast<void*>(class_->enumerate),
                             reinterpret_cast<void*>(class_->construct)};
    for (size_t i = 0; i < 12; ++i) {
        EXPECT_NE(nullptr, entries[i]) << "entry " << i;
    }
    class_->invalidate(object_); // does nothing
    EXPECT_TRUE(Browser::Get().IsLive(object_));
}

TEST_F(ScriptedObject, CallingTheObjectReturnsTheDefaultTextInABrowserBlock) {
    nphost::TrackedAllocator& heap = Browser::Get().Allocator();
    for (const Arguments& args : {Arguments(), Arguments().String("x").Int(3)}) {
        const size_t nBlocks = heap.OutstandingBlocks();
        NPVariant result = Sentinel();
        ASSERT_TRUE(class_->invokeDefault(object_, args.data(), args.size(), &result));
        ASSERT_EQ(NPVariantType_String, result.type);
        const NPString& text = result.value.stringValue;
        EXPECT_EQ(25u, text.UTF8Length);
        EXPECT_EQ("default method return val", std::string(text.UTF8Characters, text.UTF8Length));
        EXPECT_EQ(26, heap.BlockSize(text.UTF8Characters)) << "length plus its zero byte";
        EXPECT_EQ('\0', text.UTF8Characters[25]);
        Browser::Get().ReleaseVariantValue(&result);
        EXPECT_EQ(nBlocks, heap.OutstandingBlocks());
    }
}

TEST_F(ScriptedObject, CallingTheObjectWithoutBrowserMemoryFailsAndLeavesTheResult) {
    Browser::Get().Allocator().FailNext(1);
    NPVariant result = Sentinel();
    EXPECT_FALSE(class_->invokeDefault(object_, nullptr, 0, &result));
    EXPECT_TRUE(IsSentinel(result));
}

TEST_F(ScriptedObject, HasNoProperties) {
    for (const char* name : {"length", "RecentlyApplications", "SelectApplications"}) {
        EXPECT_FALSE(class_->hasProperty(object_, Id(name))) << name;
        NPVariant result = Sentinel();
        EXPECT_FALSE(class_->getProperty(object_, Id(name), &result)) << name;
        EXPECT_EQ(NPVariantType_Void, result.type) << name;
        EXPECT_EQ(nullptr, result.value.objectValue) << "value not cleared";
    }
}

TEST_F(ScriptedObject, RefusesAssignmentDeletionEnumerationAndConstruction) {
    NPVariant value = Sentinel();
    EXPECT_FALSE(class_->setProperty(object_, Id("length"), &value));
    EXPECT_FALSE(class_->removeProperty(object_, Id("RecentlyApplications")));
    NPIdentifier* identifiers = reinterpret_cast<NPIdentifier*>(&value);
    uint32_t nCount = 77;
    EXPECT_FALSE(class_->enumerate(object_, &identifiers, &nCount));
    EXPECT_EQ(reinterpret_cast<NPIdentifier*>(&value), identifiers);
    EXPECT_EQ(77u, nCount);
    NPVariant result = Sentinel();
    EXPECT_FALSE(class_->construct(object_, nullptr, 0, &result));
    EXPECT_TRUE(IsSentinel(result));
}

TEST_F(ScriptedObject, HasExactlyTheThreeMethodsByIdentifier) {
    const struct {
        const char* name;
        bool bMethod;
    } cases[] = {
        {"RecentlyApplications", true},     {"RunAppointedApplication", true},
        {"SelectApplications", true},       {"recentlyapplications", false},
        {"RUNAPPOINTEDAPPLICATION", false}, {"selectApplications", false},
        {"RecentlyApplication", false},     {"toString", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.bMethod, class_->hasMethod(object_, Id(c.name))) << c.name;
    }
    EXPECT_FALSE(class_->hasMethod(object_, Browser::Get().IntIdentifier(0)));
}

} // namespace
