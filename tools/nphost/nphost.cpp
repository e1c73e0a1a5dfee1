// nphost: loads a plug-in the way the browser does and drives its scriptable object.
//   nphost MODULE                  the scan, an instance and the object's methods
//   nphost MODULE METHOD [TEXT]    calls METHOD (with TEXT as its one string argument)
#include <stdio.h>

#include <string>

#include "nphost/browser.h"
#include "nphost/dialog_watcher.h"

namespace {

using nphost::Arguments;
using nphost::Browser;
using nphost::Narrow;

const char* const kKnownMethods[] = {"RecentlyApplications", "RunAppointedApplication",
                                     "SelectApplications"};

void Print(const std::string& text) {
    fwrite(text.data(), 1, text.size(), stdout);
    fflush(stdout);
}

std::string Describe(const NPVariant& value) {
    switch (value.type) {
    case NPVariantType_Void:
        return "no value";
    case NPVariantType_Null:
        return "null";
    case NPVariantType_Bool:
        return value.value.boolValue ? "true" : "false";
    case NPVariantType_Int32:
        return std::to_string(value.value.intValue);
    case NPVariantType_Double:
        return std::to_string(value.value.doubleValue);
    case NPVariantType_String:
        return "\"" +
               std::string(value.value.stringValue.UTF8Characters,
                           value.value.stringValue.UTF8Length) +
               "\" (" + std::to_string(value.value.stringValue.UTF8Length) + " bytes)";
    case NPVariantType_Object:
        return "an object";
    }
    return "?";
}

int Scan(const std::wstring& path) {
    const nphost::ScanInfo info = nphost::ScanPlugin(path);
    Print("Plug-in scan of " + Narrow(path) + "\n");
    if (!info.bFound) {
        Print("  no MIMEType in its version resource: not a plug-in\n");
        return 1;
    }
    Print("  MIME type:   " + info.mimeType + "\n");
    Print("  extensions:  " + info.fileExtents + "\n");
    Print("  name:        " + info.productName + "\n");
    Print("  description: " + info.fileDescription + "\n");
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        Print("usage: nphost MODULE [METHOD [TEXT]]\n");
        return 2;
    }
    Browser::Get();
    const std::wstring path = argv[1];
    if (Scan(path) != 0) {
        return 1;
    }
    nphost::PluginModule module(path);
    if (!module.Loaded()) {
        Print("  the module does not load or lacks its entry points\n");
        return 1;
    }
    Print("  NP_GetEntryPoints: " + std::to_string(module.EntryPointsResult()) +
          ", NP_Initialize: " + std::to_string(module.InitializeResult()) + "\n");
    if (module.InitializeResult() != NPERR_NO_ERROR) {
        return 1;
    }

    int status = 0;
    {
        nphost::PluginArea area;
        nphost::Instance instance(module);
        Print("Instance: NPP_New " + std::to_string(instance.NewResult()) + ", NPP_SetWindow " +
              std::to_string(instance.SetWindow(area.Handle())) + "\n");
        const char* name = nullptr;
        const char* description = nullptr;
        module.Funcs().getvalue(instance.npp(), NPPVpluginNameString, &name);
        module.Funcs().getvalue(instance.npp(), NPPVpluginDescriptionString, &description);
        Print(std::string("  plug-in name: ") + (name ? name : "(none)") + "\n");
        Print(std::string("  plug-in description: ") + (description ? description : "(none)") +
              "\n");
        NPObject* object = instance.ScriptableObject();
        if (!object) {
            Print("  no scriptable object\n");
            return 1;
        }
        if (argc < 3) {
            Print("Scriptable object methods (asked by name):\n");
            for (const char* method : kKnownMethods) {
                const bool bHas = nphost::CheckedClass()->hasMethod(
                    object, Browser::Get().StringIdentifier(method));
                Print(std::string("  ") + method + ": " + (bHas ? "yes" : "no") + "\n");
            }
        } else {
            const std::string method = Narrow(argv[2]);
            Arguments args;
            NPObject* function = nullptr;
            if (argc > 3) {
                args.String(Narrow(argv[3]));
            } else if (method == "SelectApplications") {
                function = Browser::Get().CreateFunction();
                args.Object(function);
            }
            NPVariant result;
            result.type = NPVariantType_Void;
            // Every message box the call shows is read, printed and answered with its first
            // button, so that the call returns without a user.
            nphost::DialogWatcher watcher;
            const bool bOk = Browser::Get().CallMethod(object, method, args, &result);
            for (const nphost::SeenBox& box : watcher.Boxes()) {
                Print("  message box \"" + Narrow(box.caption) + "\": " + Narrow(box.text) + "\n");
            }
            Print(method + " returned " + (bOk ? "true" : "false") +
                  ", result: " + Describe(result) + "\n");
            Browser::Get().ReleaseVariantValue(&result);
            if (function) {
                // The module lets go of the page's function once it has answered, or gave up.
                Browser::Get().PumpUntil([&] { return function->referenceCount == 1; },
                                         10 * 60 * 1000);
                for (const nphost::FunctionCall& call : Browser::Get().CallsOf(function)) {
                    Print("  callback called with " +
                          (call.args.empty() ? std::string("nothing")
                                             : "\"" + call.args[0].text + "\"") +
                          "\n");
                }
                if (Browser::Get().CallsOf(function).empty()) {
                    Print("  callback never called\n");
                }
                Browser::Get().ReleaseObject(function);
            }
            status = bOk ? 0 : 1;
        }
    }
    return status;
}
