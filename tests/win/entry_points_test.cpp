// The exported entry points and every plug-in callback's answer, called as the browser calls them.
#include <string.h>

#include "module_fixture.h"

namespace {

using nphost::Browser;

// Both table checks leave a refused table exactly as it was.
TEST(EntryPoints, GetEntryPointsChecksTheTableBeforeFillingIt) {
    const nphost::PluginModule& module = Module();
    ASSERT_TRUE(module.HasExports());
    auto getEntryPoints = [&](NPPluginFuncs* pFuncs) { return module.GetEntryPoints(pFuncs); };
    EXPECT_EQ(NPERR_INVALID_FUNCTABLE_ERROR, getEntryPoints(nullptr));

    NPPluginFuncs small;
    memset(&small, 0xCD, sizeof(small));
    small.size = static_cast<uint16_t>(NP_PLUGIN_FUNCS_MIN_SIZE - 1); // 59 on 32-bit Windows
    NPPluginFuncs before = small;
    EXPECT_EQ(NPERR_INVALID_FUNCTABLE_ERROR, getEntryPoints(&small));
    EXPECT_EQ(0, memcmp(&before, &small, sizeof(small))) << "a refused table was written";

    NPPluginFuncs funcs;
    memset(&funcs, 0, sizeof(funcs));
    funcs.size = static_cast<uint16_t>(NP_PLUGIN_FUNCS_MIN_SIZE); // 60 on 32-bit Windows
    funcs.version = 0x1234;
    funcs.javaClass = &funcs;
    EXPECT_EQ(NPERR_NO_ERROR, getEntryPoints(&funcs));
    EXPECT_EQ(NP_PLUGIN_FUNCS_MIN_SIZE, funcs.size);
    EXPECT_EQ(0x1234, funcs.version);
    EXPECT_EQ(&funcs, funcs.javaClass);
    const void* entries[] = {
        reinterpret_cast<void*>(funcs.newp),          reinterpret_cast<void*>(funcs.destroy),
        reinterpret_cast<void*>(funcs.setwindow),     reinterpret_cast<void*>(funcs.newstream),
        reinterpret_cast<void*>(funcs.destroystream), reinterpret_cast<void*>(funcs.asfile),
        reinterpret_cast<void*>(funcs.writeready),    reinterpret_cast<void*>(funcs.write),
        reinterpret_cast<void*>(funcs.print),         reinterpret_cast<void*>(funcs.event),
        reinterpret_cast<void*>(funcs.urlnotify),     reinterpret_cast<void*>(funcs.getvalue),
        reinterpret_cast<void*>(funcs.setvalue)};
    for (size_t i = 0; i < sizeof(entries) / sizeof(entries[0]); ++i) {
        EXPECT_NE(nullptr, entries[i]) << "entry " << i;
    }
}

TEST(EntryPoints, InitializeChecksPointerThenVersionThenSize) {
    const nphost::PluginModule& module = Module();
    ASSERT_TRUE(module.HasExports());
    auto initialize = [&](NPNetscapeFuncs* pFuncs) { return module.Initialize(pFuncs); };
    EXPECT_EQ(NPERR_INVALID_FUNCTABLE_ERROR, initialize(nullptr));

    const uint16_t nFull = static_cast<uint16_t>(NP_NETSCAPE_FUNCS_MIN_SIZE); // 196
    const struct {
        uint16_t version;
        uint16_t size;
        NPError expected;
    } cases[] = {
        {0x0100, nFull, NPERR_INCOMPATIBLE_VERSION_ERROR},
        {0x0100, 10, NPERR_INCOMPATIBLE_VERSION_ERROR}, // the version is checked first
        {0x0016, static_cast<uint16_t>(nFull - 1), NPERR_INVALID_FUNCTABLE_ERROR},
        {0x0016, nFull, NPERR_NO_ERROR},
        {0x001B, static_cast<uint16_t>(nFull + 40), NPERR_NO_ERROR},
    };
    for (const auto& c : cases) {
        NPNetscapeFuncs funcs = Browser::Get().Funcs();
        funcs.version = c.version;
        funcs.size = c.size;
        const NPNetscapeFuncs before = funcs;
        EXPECT_EQ(c.expected, initialize(&funcs))
            << "version 0x" << std::hex << c.version << ", size " << std::dec << c.size;
        EXPECT_EQ(0, memcmp(&before, &funcs, sizeof(funcs))) << "the browser's table was written";
    }
    // Leave the module with the host's own table.
    NPNetscapeFuncs funcs = Browser::Get().Funcs();
    EXPECT_EQ(NPERR_NO_ERROR, initialize(&funcs));
}

// Run in a process of its own (see tests/CMakeLists.txt): nothing uses the module afterwards.
TEST(ModuleEnd, ShutdownAnswersNoError) {
    ASSERT_TRUE(Module().HasExports());
    EXPECT_EQ(NPERR_NO_ERROR, Module().Shutdown());
}

// Each callback called with a null instance, with an instance that has no record, and with a
// real one.
class Callbacks : public ::testing::Test {
  protected:
    void SetUp() override {
        funcs_ = Module().Funcs();
        memset(&bare_, 0, sizeof(bare_));
    }
    NPPluginFuncs funcs_;
    NPP_t bare_; // an instance handle whose pdata holds no record
    NPStream stream_ = {};
};

TEST_F(Callbacks, NewNeedsAnInstanceAndStoresItsRecord) {
    EXPECT_EQ(NPERR_INVALID_INSTANCE_ERROR,
              funcs_.newp(const_cast<char*>("application/corvid-application"), nullptr, NP_EMBED, 0,
                          nullptr, nullptr, nullptr));
    nphost::Instance instance(Module());
    EXPECT_EQ(NPERR_NO_ERROR, instance.NewResult());
    EXPECT_NE(nullptr, instance.npp()->pdata);
}

TEST_F(Callbacks, DestroyFreesTheRecordAndIgnoresAMissingOne) {
    EXPECT_EQ(NPERR_INVALID_INSTANCE_ERROR, funcs_.destroy(nullptr, nullptr));
    EXPECT_EQ(NPERR_NO_ERROR, funcs_.destroy(&bare_, nullptr));
    EXPECT_EQ(nullptr, bare_.pdata);

    nphost::Instance instance(Module());
    NPObject* object = instance.ScriptableObject();
    ASSERT_NE(nullptr, object);
    ASSERT_EQ(2u, object->referenceCount) << "the record's and the page's";
    NPSavedData* saved = reinterpret_cast<NPSavedData*>(&bare_);
    EXPECT_EQ(NPERR_NO_ERROR, instance.Destroy(&saved));
    EXPECT_EQ(reinterpret_cast<NPSavedData*>(&bare_), saved) << "save was touched";
    EXPECT_EQ(nullptr, instance.npp()->pdata) << "the record is still referred to";
    // Freeing the record lets go of the reference it held.
    EXPECT_EQ(1u, object->referenceCount) << "the record was not freed";
}

TEST_F(Callbacks, StreamsAreTakenAndDiscarded) {
    uint16_t stype = NP_ASFILE;
    EXPECT_EQ(NPERR_INVALID_INSTANCE_ERROR,
              funcs_.newstream(nullptr, nullptr, &stream_, 0, &stype));
    EXPECT_EQ(NPERR_INVALID_INSTANCE_ERROR, funcs_.writeready(nullptr, &stream_));
    EXPECT_EQ(NPERR_INVALID_INSTANCE_ERROR, funcs_.write(nullptr, &stream_, 0, 10, nullptr));
    EXPECT_EQ(NPERR_INVALID_INSTANCE_ERROR, funcs_.destroystream(nullptr, &stream_, NPRES_DONE));
    funcs_.asfile(nullptr, &stream_, "C:\\x");
    funcs_.print(nullptr, nullptr);
    funcs_.urlnotify(nullptr, "http://x/", NPRES_DONE, nullptr);

    nphost::Instance instance(Module());
    for (NPP npp : {instance.npp(), static_cast<NPP>(&bare_)}) {
        EXPECT_EQ(NPERR_NO_ERROR, funcs_.newstream(npp, nullptr, &stream_, 0, &stype));
        EXPECT_EQ(NP_ASFILE, stype) << "the stream type was changed";
        EXPECT_EQ(268435455, funcs_.writeready(npp, &stream_));
        char buffer[4096] = {0};
        EXPECT_EQ(4096, funcs_.write(npp, &stream_, 0, 4096, buffer));
        EXPECT_EQ(NPERR_NO_ERROR, funcs_.destroystream(npp, &stream_, NPRES_DONE));
        funcs_.asfile(npp, &stream_, "C:\\x");
        funcs_.print(npp, nullptr);
        funcs_.urlnotify(npp, "http://x/", NPRES_DONE, nullptr);
    }
}

TEST_F(Callbacks, NoEventIsHandled) {
    NPEvent event = {WM_PAINT, 0, 0};
    EXPECT_EQ(0, funcs_.event(nullptr, &event));
    EXPECT_EQ(0, funcs_.event(&bare_, &event));
    nphost::Instance instance(Module());
    EXPECT_EQ(0, funcs_.event(instance.npp(), &event));
}

TEST_F(Callbacks, GetValueAnswersTheTwoStaticStringsAndTheScriptableObject) {
    const char* text = nullptr;
    EXPECT_EQ(NPERR_INVALID_INSTANCE_ERROR, funcs_.getvalue(nullptr, NPPVpluginNameString, &text));
    EXPECT_EQ(NPERR_GENERIC_ERROR, funcs_.getvalue(&bare_, NPPVpluginNameString, &text));
    EXPECT_EQ(nullptr, text);

    nphost::Instance instance(Module());
    ASSERT_EQ(NPERR_NO_ERROR, funcs_.getvalue(instance.npp(), NPPVpluginNameString, &text));
    EXPECT_STREQ("NPRuntimeTest", text);
    const char* again = nullptr;
    funcs_.getvalue(instance.npp(), NPPVpluginNameString, &again);
    EXPECT_EQ(text, again) << "the name is one static text";
    ASSERT_EQ(NPERR_NO_ERROR, funcs_.getvalue(instance.npp(), NPPVpluginDescriptionString, &text));
    EXPECT_STREQ("NPRuntime scriptability API test plugin", text);

    void* untouched = &bare_;
    EXPECT_EQ(NPERR_GENERIC_ERROR,
              funcs_.getvalue(instance.npp(), NPPVpluginNeedsXEmbed, &untouched));
    EXPECT_EQ(&bare_, untouched);
    EXPECT_EQ(NPERR_GENERIC_ERROR,
              funcs_.getvalue(instance.npp(), NPPVpluginWindowBool, &untouched));
    EXPECT_EQ(&bare_, untouched);
}

TEST_F(Callbacks, SetValueAcceptsEverything) {
    EXPECT_EQ(NPERR_INVALID_INSTANCE_ERROR, funcs_.setvalue(nullptr, NPNVWindowNPObject, nullptr));
    nphost::Instance instance(Module());
    EXPECT_EQ(NPERR_NO_ERROR, funcs_.setvalue(instance.npp(), NPNVWindowNPObject, nullptr));
    EXPECT_EQ(NPERR_NO_ERROR, funcs_.setvalue(&bare_, NPNVprivateModeBool, &bare_));
}

TEST_F(Callbacks, SetWindowNeedsAnInstanceAWindowRecordAndARecord) {
    NPWindow window;
    memset(&window, 0, sizeof(window));
    EXPECT_EQ(NPERR_INVALID_INSTANCE_ERROR, funcs_.setwindow(nullptr, &window));
    EXPECT_EQ(NPERR_GENERIC_ERROR, funcs_.setwindow(&bare_, &window));
    nphost::Instance instance(Module());
    EXPECT_EQ(NPERR_GENERIC_ERROR, funcs_.setwindow(instance.npp(), nullptr));
    EXPECT_EQ(NPERR_NO_ERROR, funcs_.setwindow(instance.npp(), &window)) << "null handle";
}

} // namespace
