// What a hostile page can throw at the object through the browser: every method and the object
// itself with no argument, with each wrong type, with 100 KB strings, invalid UTF-8 and
// embedded zero bytes, and 1,000 calls in a row. Each call has one defined answer; afterwards
// nothing the module got from NPN_MemAlloc is live and no object is held (the strict listener
// checks both after every test as well).
#include "module_fixture.h"

namespace {

using nphost::Arguments;
using nphost::Browser;
using nphost::SeenBox;

const size_t k100Kb = 100 * 1024;

// 100 KB of bytes that are no UTF-8: stray continuation bytes, an overlong zero, an encoded
// surrogate and bytes that never occur.
std::string InvalidUtf8() {
    const std::string piece = "\x80\xBF\xC0\x80\xED\xA0\x80\xFE\xFF\xF8";
    std::string text;
    while (text.size() < k100Kb) {
        text += piece;
    }
    return text;
}

const std::string kBigPath = "C:\\" + std::string(k100Kb, 'a');
const std::string kZeroInside("C:\\nope\\a.exe\0C:\\windows\\notepad.exe", 36);
const std::string kZeroFirst("\0C:\\windows\\notepad.exe", 24);

struct Case {
    const char* what;
    Arguments args;
    bool bString; // a first argument that is a string
    bool bObject; // exactly one argument, an object
};

class HostilePage : public ::testing::Test {
  protected:
    void SetUp() override {
        object_ = instance_.ScriptableObject();
        ASSERT_NE(nullptr, object_);
        function_ = Browser::Get().CreateFunction();
    }
    void TearDown() override { Browser::Get().ReleaseObject(function_); }

    std::vector<Case> Cases() const {
        return {
            {"no argument", Arguments(), false, false},
            {"void", Arguments().Void(), false, false},
            {"null", Arguments().Null(), false, false},
            {"a bool", Arguments().Bool(true), false, false},
            {"an int", Arguments().Int(-1), false, false},
            {"a double", Arguments().Double(-1e308), false, false},
            {"the object itself", Arguments().Object(object_), false, true},
            {"a function and a string", Arguments().Object(function_).String("x"), false, false},
            {"an empty string", Arguments().String(""), true, false},
            {"100 KB of path", Arguments().String(kBigPath), true, false},
            {"100 KB of invalid UTF-8", Arguments().String(InvalidUtf8()), true, false},
            {"a zero inside", Arguments().String(kZeroInside), true, false},
            {"a zero first", Arguments().String(kZeroFirst), true, false},
        };
    }

    // Invokes `method` directly, as the browser does once HasMethod said yes.
    bool Invoke(const char* method, const Arguments& args, NPVariant* result) {
        return nphost::CheckedClass()->invoke(object_, Browser::Get().StringIdentifier(method),
                                              args.data(), args.size(), result);
    }

    nphost::Instance instance_{Module()};
    NPObject* object_ = nullptr;
    NPObject* function_ = nullptr;
};

// What the page's string turns into in the module: the system's UTF-8 conversion (U+FFFD for
// what is not UTF-8), up to the first zero.
std::wstring AsModuleReadsIt(const std::string& bytes) {
    const std::wstring wide = nphost::Widen(bytes);
    return wide.substr(0, wide.find(L'\0'));
}

// The catalogue takes no argument: all the kinds at once, in one call, change nothing.
TEST_F(HostilePage, RecentlyApplicationsGivesTheCatalogueWhateverItIsPassed) {
    const std::string catalogue = CallForText(object_, "RecentlyApplications");
    ASSERT_FALSE(catalogue.empty());
    const std::vector<Case> cases = Cases();
    std::vector<NPVariant> all;
    for (const Case& c : cases) {
        all.insert(all.end(), c.args.data(), c.args.data() + c.args.size());
    }
    NPVariant result = Sentinel();
    EXPECT_TRUE(nphost::CheckedClass()->invoke(
        object_, Browser::Get().StringIdentifier("RecentlyApplications"), all.data(),
        static_cast<uint32_t>(all.size()), &result));
    EXPECT_EQ(catalogue, nphost::CopyValue(result).text);
    Browser::Get().ReleaseVariantValue(&result);
}

TEST_F(HostilePage, CallingTheObjectGivesItsDefaultTextWhateverItIsPassed) {
    for (const Case& c : Cases()) {
        NPVariant result = Sentinel();
        EXPECT_TRUE(
            nphost::CheckedClass()->invokeDefault(object_, c.args.data(), c.args.size(), &result))
            << c.what;
        EXPECT_EQ("default method return val", nphost::CopyValue(result).text) << c.what;
        Browser::Get().ReleaseVariantValue(&result);
    }
}

// Only a string that converts to a non-empty text reaches the launcher; it names nothing here,
// so the module's box tells the user, after the shell's own when the text is a path that fits.
TEST_F(HostilePage, RunAppointedApplicationShowsOneBoxForEachStringThatIsText) {
    for (const Case& c : Cases()) {
        const std::vector<SeenBox> ours =
            FailureBoxes(CallRunAppointedApplication(object_, c.args));
        const bool bText = c.bString && c.args.data()[0].value.stringValue.UTF8Length > 0;
        if (!bText) {
            EXPECT_TRUE(ours.empty()) << c.what << ": " << Show(ours.empty() ? L"" : ours[0].text);
            continue;
        }
        const std::string bytes(c.args.data()[0].value.stringValue.UTF8Characters,
                                c.args.data()[0].value.stringValue.UTF8Length);
        ASSERT_EQ(1u, ours.size()) << c.what;
        EXPECT_EQ((kNotFound + AsModuleReadsIt(bytes)).substr(0, 259), ours[0].text)
            << c.what << ": " << Show(ours[0].text);
    }
}

// Only exactly one object starts a picker (the picker tests follow that one): nothing else
// hands a job back or holds anything.
TEST_F(HostilePage, SelectApplicationsStartsNothingWithoutExactlyOneObject) {
    const int nPosted = Browser::Get().PostedAsyncCalls();
    for (const Case& c : Cases()) {
        if (c.bObject) {
            continue;
        }
        NPVariant result = Sentinel();
        EXPECT_TRUE(Invoke("SelectApplications", c.args, &result)) << c.what;
        EXPECT_TRUE(IsSentinel(result)) << c.what << ": the result was set";
        EXPECT_EQ(1u, function_->referenceCount) << c.what << ": the function is held";
    }
    EXPECT_EQ(nPosted, Browser::Get().PostedAsyncCalls()) << "a job was handed back";
}

// The members that do not exist: unknown methods fail and leave the result alone; properties
// cannot be read, written, removed or listed, and the object is no constructor.
TEST_F(HostilePage, EverythingElseFailsWhateverItIsPassed) {
    const char* const unknown[] = {"runAppointedApplication", "", "RecentlyApplications\n",
                                   "toString"};
    for (const Case& c : Cases()) {
        for (const char* name : unknown) {
            NPVariant result = Sentinel();
            EXPECT_FALSE(Invoke(name, c.args, &result)) << c.what << ", method \"" << name << "\"";
            EXPECT_TRUE(IsSentinel(result)) << c.what << ", " << name;
        }
        const NPIdentifier id = Browser::Get().StringIdentifier("RunAppointedApplication");
        const NPVariant* value = c.args.size() ? c.args.data() : nullptr;
        if (value) {
            EXPECT_FALSE(nphost::CheckedClass()->setProperty(object_, id, value)) << c.what;
        }
        NPVariant result = Sentinel();
        EXPECT_FALSE(
            nphost::CheckedClass()->construct(object_, c.args.data(), c.args.size(), &result))
            << c.what;
        EXPECT_TRUE(IsSentinel(result)) << c.what;
    }
    NPVariant result = Sentinel();
    const NPIdentifier id = Browser::Get().StringIdentifier("RecentlyApplications");
    EXPECT_FALSE(nphost::CheckedClass()->hasProperty(object_, id));
    EXPECT_FALSE(nphost::CheckedClass()->getProperty(object_, id, &result));
    EXPECT_EQ(NPVariantType_Void, result.type);
    EXPECT_FALSE(nphost::CheckedClass()->removeProperty(object_, id));
    NPIdentifier* ids = nullptr;
    uint32_t nIds = 0;
    EXPECT_FALSE(nphost::CheckedClass()->enumerate(object_, &ids, &nIds));
}

// 1,000 calls in a row, cheap ones mostly and the catalogue every 250th, each with its one
// answer; no box, no job, and the browser's books as they were.
TEST_F(HostilePage, AThousandCallsInARowLeaveNothingBehind) {
    const size_t nBlocks = Browser::Get().Allocator().OutstandingBlocks();
    const size_t nObjects = Browser::Get().LiveObjects();
    const uint32_t nReferences = object_->referenceCount;
    const int nPosted = Browser::Get().PostedAsyncCalls();
    const std::string catalogue = CallForText(object_, "RecentlyApplications");
    Browser::Get().Allocator().ClearRequests();
    nphost::DialogWatcher watcher;
    const Arguments none;
    const Arguments number = Arguments().Int(7);
    const Arguments empty = Arguments().String("");
    const Arguments text = Arguments().String("x");
    const NPIdentifier run = Browser::Get().StringIdentifier("RunAppointedApplication");
    const NPIdentifier unknown = Browser::Get().StringIdentifier("LaunchEverything");
    int nWrong = 0;
    for (int i = 0; i < 1000; ++i) {
        NPVariant result = Sentinel();
        bool bRight = false;
        if (i % 250 == 249) {
            bRight = CallForText(object_, "RecentlyApplications", number) == catalogue;
        } else {
            switch (i % 8) {
            case 0:
                bRight = nphost::CheckedClass()->hasMethod(object_, run);
                break;
            case 1:
                bRight = nphost::CheckedClass()->invokeDefault(object_, number.data(),
                                                               number.size(), &result) &&
                         nphost::CopyValue(result).text == "default method return val";
                break;
            case 2:
                bRight = !nphost::CheckedClass()->getProperty(object_, run, &result) &&
                         result.type == NPVariantType_Void;
                break;
            case 3:
                bRight = !Invoke("LaunchEverything", none, &result) && IsSentinel(result) &&
                         !nphost::CheckedClass()->hasMethod(object_, unknown);
                break;
            case 4:
                bRight = Invoke("RunAppointedApplication", number, &result) && IsSentinel(result);
                break;
            case 5:
                bRight = Invoke("RunAppointedApplication", empty, &result) && IsSentinel(result);
                break;
            case 6:
                bRight = Invoke("SelectApplications", none, &result) && IsSentinel(result);
                break;
            default:
                bRight = Invoke("SelectApplications", text, &result) && IsSentinel(result);
                break;
            }
        }
        Browser::Get().ReleaseVariantValue(&result);
        if (!bRight && ++nWrong <= 5) {
            ADD_FAILURE() << "call " << i << " (kind " << i % 8 << ") answered otherwise";
        }
    }
    EXPECT_EQ(0, nWrong);
    EXPECT_GE(Browser::Get().Allocator().Requests().size(), 100u) << "the calls allocated less";
    EXPECT_EQ(nBlocks, Browser::Get().Allocator().OutstandingBlocks()) << "blocks left live";
    EXPECT_EQ(nObjects, Browser::Get().LiveObjects()) << "objects left live";
    EXPECT_EQ(nReferences, object_->referenceCount) << "references left on the object";
    EXPECT_EQ(nPosted, Browser::Get().PostedAsyncCalls()) << "jobs were handed back";
    EXPECT_TRUE(watcher.Boxes().empty()) << "a box appeared: " << Show(watcher.Boxes()[0].text);
}

} // namespace
