// Plug-in instances on real windows: the window procedure taken over and given back, and the
// scriptable object's identity and references.
#include "module_fixture.h"

namespace {

using nphost::Browser;
using nphost::Instance;
using nphost::PluginArea;

WNDPROC ModuleProcedure() {
    // What an attached plug-in window runs: the same procedure for every instance.
    static WNDPROC procedure = nullptr;
    if (!procedure) {
        PluginArea area;
        Instance instance(Module());
        instance.SetWindow(area.Handle());
        procedure = area.CurrentProcedure();
    }
    return procedure;
}

TEST(PluginWindow, SetWindowTakesOverTheWindowAndDestroyGivesItBack) {
    PluginArea area;
    Instance instance(Module());
    ASSERT_EQ(area.BrowserProcedure(), area.CurrentProcedure());

    const UINT kProbe = WM_USER + 7;
    SendMessageW(area.Handle(), kProbe, 0, 0);
    ASSERT_EQ(1, nphost::MessagesSeenByBrowserProcedure(area.Handle(), kProbe))
        << "the browser's procedure records what it receives";

    EXPECT_EQ(NPERR_NO_ERROR, instance.SetWindow(area.Handle()));
    EXPECT_NE(area.BrowserProcedure(), area.CurrentProcedure()) << "procedure not replaced";
    SendMessageW(area.Handle(), kProbe, 0, 0);
    EXPECT_EQ(1, nphost::MessagesSeenByBrowserProcedure(area.Handle(), kProbe))
        << "the plug-in's procedure passed a message on to the browser's";
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(instance.npp()->pdata),
              GetWindowLongPtrW(area.Handle(), GWLP_USERDATA))
        << "the record's address is in the window's user data";

    // The replacement only forwards to the default procedure, which keeps the window's text.
    SetWindowTextW(area.Handle(), L"forwarded");
    wchar_t text[32] = {0};
    GetWindowTextW(area.Handle(), text, 32);
    EXPECT_STREQ(L"forwarded", text);

    EXPECT_EQ(NPERR_NO_ERROR, instance.Destroy());
    EXPECT_EQ(area.BrowserProcedure(), area.CurrentProcedure()) << "procedure not restored";
    EXPECT_EQ(0, GetWindowLongPtrW(area.Handle(), GWLP_USERDATA))
        << "the window's user data still points to the freed record";
}

TEST(PluginWindow, TheRecordStaysOnItsFirstWindow) {
    PluginArea first;
    PluginArea second(nphost::BrowserPluginWindowProcB);
    Instance instance(Module());
    ASSERT_EQ(NPERR_NO_ERROR, instance.SetWindow(first.Handle()));
    EXPECT_EQ(NPERR_NO_ERROR, instance.SetWindow(second.Handle()));
    EXPECT_EQ(second.BrowserProcedure(), second.CurrentProcedure()) << "second window taken";
    EXPECT_EQ(NPERR_NO_ERROR, instance.SetWindow(nullptr));
    EXPECT_EQ(ModuleProcedure(), first.CurrentProcedure()) << "a null handle detached it";
    instance.Destroy();
    EXPECT_EQ(first.BrowserProcedure(), first.CurrentProcedure());
    EXPECT_EQ(second.BrowserProcedure(), second.CurrentProcedure());
}

TEST(PluginWindow, OneSlotHoldsWhatTheLatestAttachmentReplaced) {
    PluginArea windowA(nphost::BrowserPluginWindowProcA);
    PluginArea windowB(nphost::BrowserPluginWindowProcB);
    Instance first(Module());
    Instance second(Module());
    first.SetWindow(windowA.Handle());
    second.SetWindow(windowB.Handle());
    // The module keeps one previous procedure for all instances: each destroy puts back what
    // the later attachment replaced.
    first.Destroy();
    EXPECT_EQ(windowB.BrowserProcedure(), windowA.CurrentProcedure());
    second.Destroy();
    EXPECT_EQ(windowB.BrowserProcedure(), windowB.CurrentProcedure());
}

TEST(PluginWindow, AnInstanceWithoutAWindowIsDestroyedWithoutTouchingWindows) {
    PluginArea area;
    Instance attached(Module());
    attached.SetWindow(area.Handle());
    {
        Instance windowless(Module());
        EXPECT_EQ(NPERR_NO_ERROR, windowless.Destroy());
    }
    EXPECT_EQ(ModuleProcedure(), area.CurrentProcedure());
}

TEST(ScriptableObject, EachRequestGivesTheSameObjectWithOneMoreReference) {
    Instance instance(Module());
    NPObject* object = instance.ScriptableObject();
    ASSERT_NE(nullptr, object);
    EXPECT_TRUE(Browser::Get().IsLive(object));
    EXPECT_EQ(2u, object->referenceCount) << "the record's and the page's";
    EXPECT_EQ(object, instance.ScriptableObject());
    EXPECT_EQ(3u, object->referenceCount);
}

TEST(ScriptableObject, OutlivesItsInstanceWhileThePageHoldsIt) {
    Instance instance(Module());
    NPObject* object = instance.ScriptableObject();
    ASSERT_NE(nullptr, object);
    instance.Destroy();
    EXPECT_TRUE(Browser::Get().IsLive(object));
    EXPECT_EQ(1u, object->referenceCount) << "the record let its own reference go";

    Browser::Get().RetainObject(object);
    const size_t nLive = Browser::Get().LiveObjects();
    Browser::Get().ReleaseObject(object);
    EXPECT_EQ(1u, object->referenceCount);
    // The page lets go of its own reference: the object is deallocated at zero, and the page
    // does not release it again when it goes.
    instance.ReleasePageHold(object);
    EXPECT_EQ(nLive - 1, Browser::Get().LiveObjects()) << "not deallocated at zero";
    EXPECT_FALSE(Browser::Get().IsLive(object));
}

TEST(ScriptableObject, TwoInstancesHaveTheirOwnObjectsAndShareTheMethodIdentifiers) {
    Instance first(Module());
    Instance second(Module());
    EXPECT_NE(first.npp()->pdata, second.npp()->pdata);
    NPObject* objectA = first.ScriptableObject();
    NPObject* objectB = second.ScriptableObject();
    ASSERT_NE(nullptr, objectA);
    ASSERT_NE(nullptr, objectB);
    EXPECT_NE(objectA, objectB);
    for (const char* name :
         {"RecentlyApplications", "RunAppointedApplication", "SelectApplications"}) {
        const NPIdentifier id = Browser::Get().StringIdentifier(name);
        EXPECT_TRUE(nphost::CheckedClass()->hasMethod(objectA, id)) << name;
        EXPECT_TRUE(nphost::CheckedClass()->hasMethod(objectB, id)) << name;
    }
}

TEST(ScriptableObject, AFailedCreationIsRetriedAtTheNextRequest) {
    Instance instance(Module());
    Browser::Get().FailNextCreateObject(1);
    NPObject* object = reinterpret_cast<NPObject*>(&instance);
    EXPECT_EQ(NPERR_NO_ERROR,
              Module().Funcs().getvalue(instance.npp(), NPPVpluginScriptableNPObject, &object));
    EXPECT_EQ(nullptr, object);
    object = instance.ScriptableObject();
    ASSERT_NE(nullptr, object);
    EXPECT_EQ(2u, object->referenceCount);
}

} // namespace
