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
        record_ = object_->_class;
        class_ = nphost::CheckedClass(); // calls the object's record as the browser does
    }
    NPIdentifier Id(const char* name) { return Browser::Get().StringIdentifier(name); }

    nphost::Instance instance_{Module()};
    NPObject* object_ = nullptr;
    NPClass* record_ = nullptr; // the module's own class record
    NPClass* class_ = nullptr;
};

TEST_F(ScriptedObject, ClassRecordIsVersion3WithAllTwelveEntries) {
    EXPECT_EQ(static_cast<uint32_t>(NP_CLASS_STRUCT_VERSION_CTOR), record_->structVersion);
    const void* entries[] = {reinterpret_cast<void*>(record_->allocate),
                             reinterpret_cast<void*>(record_->deallocate),
                             reinterpret_cast<void*>(record_->invalidate),
                             reinterpret_cast<void*>(record_->hasMethod),
                             reinterpret_cast<void*>(record_->invoke),
                             reinterpret_cast<void*>(record_->invokeDefault),
                             reinterpret_cast<void*>(record_->hasProperty),
                             reinterpret_cast<void*>(record_->getProperty),
                             reinterpret_cast<void*>(record_->setProperty),
                             reinterpret_cast<void*>(record_->removeProperty),
                             reinterpret_cast<void*>(record_->enumerate),
                             reinterpret_cast<void*>(record_->construct)};
    for (size_t i = 0; i < 12; ++i) {
        EXPECT_NE(nullptr, entries[i]) << "entry " << i;
    }
}

TEST_F(ScriptedObject, InvalidateLeavesTheObjectAsItWas) {
    const uint32_t nReferences = object_->referenceCount;
    const size_t nBlocks = Browser::Get().Allocator().OutstandingBlocks();
    class_->invalidate(object_);
    ASSERT_TRUE(Browser::Get().IsLive(object_));
    EXPECT_EQ(nReferences, object_->referenceCount) << "references changed";
    EXPECT_EQ(record_, object_->_class) << "the header was written";
    EXPECT_EQ(nBlocks, Browser::Get().Allocator().OutstandingBlocks());
    EXPECT_TRUE(class_->hasMethod(object_, Id("RecentlyApplications")))
        << "the object no longer answers";
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
