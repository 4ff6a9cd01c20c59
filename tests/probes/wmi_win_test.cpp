// The WMI probes against Wine's real WMI, each on a thread of its own so that
// the thread's COM state before and after the probe is known.
#include "engine/check_report.h"
#include "probes/com_text.h"
#include "probes/wmi_helper.h"
#include "support/text.h"

#include <gtest/gtest.h>

#include <iostream>
#include <thread>
#include <vector>

namespace {

// Runs the body on a fresh thread, on which COM has never been initialised.
template <typename Body> void OnFreshThread(Body body) {
    std::thread worker(body);
    worker.join();
}

// True when COM is not initialised on this thread: a multithreaded-apartment
// initialisation then answers S_OK (S_FALSE would mean it already was).
// Undoes its own probe initialisation.
bool ComIsUninitialised() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(hr))
        CoUninitialize();
    return hr == S_OK;
}

struct OsCpuMemory {
    std::wstring caption = L"unset";
    int addressWidth = -1;
    int64_t memory = -1;
};

OsCpuMemory RunQueryOsCpuMemory() {
    OsCpuMemory v;
    QueryOsCpuMemory(v.caption, v.addressWidth, v.memory);
    return v;
}

void ExpectPlausible(const OsCpuMemory& v) {
    EXPECT_FALSE(v.caption.empty());
    EXPECT_TRUE(v.addressWidth == 32 || v.addressWidth == 64) << v.addressWidth;
    EXPECT_GT(v.memory, 0);
}

// At least one adapter, named as the slot rules say.
void ExpectRecordedAdapters(const CCheckReport& report) {
    ASSERT_FALSE(report.adapter_names.empty());
    ASSERT_LE(report.adapter_names.size(), 2u);
    const std::wstring& name = report.display_info.gpu[0];
    ASSERT_GE(name.size(), 2u);
    EXPECT_EQ(L' ', name[name.size() - 1]);
    EXPECT_NE(L' ', name[name.size() - 2]) << "exactly one trailing blank";
    EXPECT_EQ(AsciiUpper(name), report.match_info.gpu[0]);
    EXPECT_EQ(report.match_info.gpu[0], report.adapter_names[0]);
}

} // namespace

TEST(WmiProbes, QueryOsCpuMemoryReadsWineAndLeavesComUninitialised) {
    OnFreshThread([] {
        const OsCpuMemory v = RunQueryOsCpuMemory();
        ExpectPlausible(v);
        // Shown in the test output: what this machine's WMI reported.
        std::wcout << L"[ wmi      ] caption=\"" << v.caption << L"\" addressWidth="
                   << v.addressWidth << L" memory=" << v.memory << std::endl;
        EXPECT_TRUE(ComIsUninitialised());
    });
}

TEST(WmiProbes, QueryOsCpuMemoryInsideASingleThreadedApartmentKeepsIt) {
    OnFreshThread([] {
        ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        ExpectPlausible(RunQueryOsCpuMemory());
        // Still our single-threaded apartment: the same kind answers S_FALSE,
        // the other kind is refused.
        EXPECT_EQ(RPC_E_CHANGED_MODE, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        EXPECT_EQ(S_FALSE, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        CoUninitialize();
        CoUninitialize();
        EXPECT_TRUE(ComIsUninitialised());
    });
}

TEST(WmiProbes, VideoControllersAreRecordedAndComIsLeftForTheMultithreadedProbe) {
    OnFreshThread([] {
        CCheckReport report;
        report.ProbeVideoControllers();
        ExpectRecordedAdapters(report);
        for (int slot = 0; slot < 2; ++slot)
            std::wcout << L"[ wmi      ] gpu" << slot + 1 << L"=\"" << report.display_info.gpu[slot]
                       << L"\" dispdriver" << slot + 1 << L"=\""
                       << report.display_info.dispdriver[slot] << L"\"" << std::endl;
        EXPECT_TRUE(ComIsUninitialised());
        // The check's order on one worker thread: adapters, then the rest.
        ExpectPlausible(RunQueryOsCpuMemory());
        EXPECT_TRUE(ComIsUninitialised());
    });
}

TEST(WmiProbes, VideoControllersInsideASingleThreadedApartmentKeepIt) {
    OnFreshThread([] {
        ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        CCheckReport report;
        report.ProbeVideoControllers();
        ExpectRecordedAdapters(report);
        EXPECT_EQ(S_FALSE, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        CoUninitialize();
        CoUninitialize();
        EXPECT_TRUE(ComIsUninitialised());
    });
}

TEST(WmiProbes, VideoControllersInsideAMultithreadedApartmentRecordNothing) {
    OnFreshThread([] {
        ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        CCheckReport report;
        report.ProbeVideoControllers();
        EXPECT_TRUE(report.adapter_names.empty());
        EXPECT_TRUE(report.display_info.gpu[0].empty());
        EXPECT_TRUE(report.display_info.dispdriver[0].empty());
        // The caller's apartment is untouched.
        EXPECT_EQ(S_FALSE, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        CoUninitialize();
        CoUninitialize();
        EXPECT_TRUE(ComIsUninitialised());
    });
}

TEST(WmiHelper, QueriesAnswerFalseWithFailureValues) {
    OnFreshThread([] {
        CWmiHelper unconnected;
        std::wstring text = L"kept";
        int64_t total = 99;
        EXPECT_FALSE(unconnected.QueryText(L"Win32_OperatingSystem", L"Caption", text));
        EXPECT_EQ(L"kept", text);
        EXPECT_FALSE(unconnected.QuerySum(L"Win32_PhysicalMemory", L"Capacity", total));
        EXPECT_EQ(0, total);

        CWmiHelper wmi;
        wmi.Connect();
        ASSERT_TRUE(wmi.IsConnected());
        // An unknown class, an unknown property, an empty class name.
        EXPECT_FALSE(wmi.QueryText(L"Win32_NoSuchClass", L"Caption", text));
        EXPECT_FALSE(wmi.QueryText(L"Win32_OperatingSystem", L"NoSuchProperty", text));
        EXPECT_FALSE(wmi.QueryText(L"", L"Caption", text));
        EXPECT_EQ(L"kept", text);
        total = 99;
        EXPECT_FALSE(wmi.QuerySum(L"Win32_PhysicalMemory", L"NoSuchProperty", total));
        EXPECT_EQ(0, total);
        // A failed query does not spoil the next one on the same connection.
        EXPECT_TRUE(wmi.QueryText(L"Win32_Processor", L"AddressWidth", text));
        EXPECT_TRUE(text == L"32" || text == L"64") << text.c_str();
        EXPECT_TRUE(wmi.QuerySum(L"Win32_PhysicalMemory", L"Capacity", total));
        EXPECT_GT(total, 0);
        wmi.Disconnect();
        EXPECT_FALSE(wmi.IsConnected());
        EXPECT_TRUE(ComIsUninitialised());
    });
}

TEST(WmiHelper, VariantToTextConvertsTheFourTypesAndLeavesOthers) {
    std::wstring text;
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = -64;
    VariantToText(v, text);
    EXPECT_EQ(L"-64", text);
    V_VT(&v) = VT_UI1;
    V_UI1(&v) = 200;
    VariantToText(v, text);
    EXPECT_EQ(L"200", text);
    V_VT(&v) = VT_UI4;
    V_UI4(&v) = 0xFFFFFFFFu;
    VariantToText(v, text);
    EXPECT_EQ(L"-1", text);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocString(L"25276178432");
    VariantToText(v, text);
    EXPECT_EQ(L"25276178432", text);
    VariantClear(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = nullptr; // a null BSTR is the empty string
    VariantToText(v, text);
    EXPECT_EQ(L"", text);

    text = L"unchanged";
    V_VT(&v) = VT_NULL;
    VariantToText(v, text);
    EXPECT_EQ(L"unchanged", text);
    V_VT(&v) = VT_I8;
    V_I8(&v) = 5;
    VariantToText(v, text);
    EXPECT_EQ(L"unchanged", text);
    V_VT(&v) = VT_BOOL;
    V_BOOL(&v) = VARIANT_TRUE;
    VariantToText(v, text);
    EXPECT_EQ(L"unchanged", text);
}

namespace {
// Fails the allocation of one chosen text; every other text is allocated.
const wchar_t* g_failText = nullptr;
BSTR FailChosenText(const OLECHAR* text, UINT length) {
    if (std::wstring(text, length) == g_failText)
        return nullptr;
    return SysAllocStringLen(text, length);
}

// Runs the probe with the chosen text failing; expects E_OUTOFMEMORY to come
// out and COM to be shut down again on the way.
template <typename Probe> void ExpectAllocationFailureUnwinds(const wchar_t* text, Probe probe) {
    g_failText = text;
    const BstrAllocator previous = SetBstrAllocator(FailChosenText);
    OnFreshThread([&] {
        HRESULT code = S_OK;
        try {
            probe();
        } catch (const ComTextError& error) {
            code = error.code();
        }
        EXPECT_EQ(E_OUTOFMEMORY, code) << text;
        EXPECT_TRUE(ComIsUninitialised()) << text;
    });
    SetBstrAllocator(previous);
}
} // namespace

TEST(WmiProbes, AllocationFailuresRaiseAndGiveBackWhatWasObtained) {
    // The namespace fails after the locator exists; the query texts after the
    // connection exists.
    for (const wchar_t* text : {L"ROOT\\CIMV2", L"WQL", L"SELECT * FROM Win32_Processor"})
        ExpectAllocationFailureUnwinds(text, [] { RunQueryOsCpuMemory(); });
    CCheckReport report;
    for (const wchar_t* text : {L"ROOT\\CIMV2", L"SELECT * FROM Win32_VideoController"})
        ExpectAllocationFailureUnwinds(text, [&report] { report.ProbeVideoControllers(); });
    EXPECT_TRUE(report.adapter_names.empty());

    // And the probes work again afterwards.
    OnFreshThread([] { ExpectPlausible(RunQueryOsCpuMemory()); });
}

namespace {

// An enumerator that answers Next from a script and notes how long each
// call was allowed to wait.
class ScriptedEnumerator final : public IEnumWbemClassObject {
public:
    struct Step {
        HRESULT result;
        IWbemClassObject* object; // handed out with a reference of its own
    };
    explicit ScriptedEnumerator(std::vector<Step> steps) : m_steps(std::move(steps)) {}

    std::vector<long> timeouts;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (id == IID_IUnknown || id == IID_IEnumWbemClassObject) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }
    HRESULT STDMETHODCALLTYPE Reset() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Next(long timeout, ULONG count, IWbemClassObject** objects,
                                   ULONG* returned) override {
        timeouts.push_back(timeout);
        EXPECT_EQ(1u, count);
        *returned = 0;
        objects[0] = nullptr;
        if (m_next >= m_steps.size())
            return WBEM_S_FALSE;
        const Step step = m_steps[m_next++];
        if (step.object != nullptr) {
            step.object->AddRef();
            objects[0] = step.object;
            *returned = 1;
        }
        return step.result;
    }
    HRESULT STDMETHODCALLTYPE NextAsync(ULONG, IWbemObjectSink*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumWbemClassObject**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Skip(long, ULONG) override { return E_NOTIMPL; }

private:
    std::vector<Step> m_steps;
    size_t m_next = 0;
    ULONG m_references = 1; // lives on the test's stack
};

// A real instance from Wine's WMI, to be handed out by the script.
ComOwner<IWbemClassObject> RealInstance(IWbemServices* services) {
    ComOwner<IEnumWbemClassObject> all;
    ComOwner<IWbemClassObject> object;
    const BstrOwner language = MakeBstr(L"WQL");
    const BstrOwner query = MakeBstr(L"SELECT * FROM Win32_OperatingSystem");
    ULONG returned = 0;
    if (SUCCEEDED(services->ExecQuery(language.get(), query.get(), WBEM_FLAG_FORWARD_ONLY, nullptr,
                                      all.put())))
        all->Next(WBEM_INFINITE, 1, object.put(), &returned);
    return object;
}

// Stands in for CWmiHelper in the probe's query order: answers, or lets the
// chosen query's wait run out.
struct ScriptedQueries {
    int timeOutAt = -1; // 0 processor, 1 memory, 2 operating system
    std::vector<std::wstring> asked;

    // Called after noting the query: true for the chosen one only.
    bool Waits() const { return static_cast<int>(asked.size()) - 1 == timeOutAt; }
    bool QueryText(const std::wstring& className, const std::wstring&, std::wstring& text) {
        asked.push_back(className);
        if (Waits())
            return false;
        text = className == L"Win32_Processor" ? L"64" : L"Microsoft Windows 10 Pro";
        return true;
    }
    bool QuerySum(const std::wstring& className, const std::wstring&, int64_t& total) {
        asked.push_back(className);
        total = 0;
        if (Waits())
            return false;
        total = int64_t(16) << 30;
        return true;
    }
};

} // namespace

TEST(WmiProbes, EveryWaitForAnInstanceIsBoundedAndATimeoutEndsTheEnumeration) {
    OnFreshThread([] {
        const ComInitGuard com(COINIT_MULTITHREADED);
        ASSERT_TRUE(com.succeeded());
        ComOwner<IWbemLocator> locator;
        ComOwner<IWbemServices> services;
        ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                               IID_IWbemLocator, locator.put_void())));
        const BstrOwner ns = MakeBstr(L"ROOT\\CIMV2");
        ASSERT_TRUE(SUCCEEDED(locator->ConnectServer(ns.get(), nullptr, nullptr, nullptr, 0,
                                                     nullptr, nullptr, services.put())));
        const ComOwner<IWbemClassObject> instance = RealInstance(services.get());
        ASSERT_TRUE(instance);

        ScriptedEnumerator script({{S_OK, instance.get()},
                                   {WBEM_S_TIMEDOUT, nullptr},
                                   {WBEM_S_FALSE, nullptr},
                                   {static_cast<HRESULT>(WBEM_E_FAILED), nullptr}});
        ComOwner<IWbemClassObject> object;
        EXPECT_EQ(WmiNext::Object, NextWmiObject(script, object));
        EXPECT_TRUE(object);
        EXPECT_EQ(WmiNext::TimedOut, NextWmiObject(script, object));
        EXPECT_FALSE(object);
        EXPECT_EQ(WmiNext::End, NextWmiObject(script, object));
        EXPECT_EQ(WmiNext::End, NextWmiObject(script, object));
        // Never WBEM_INFINITE: every call may wait ten seconds at most.
        EXPECT_EQ((std::vector<long>(4, kWmiNextTimeoutMs)), script.timeouts);
        object.reset();
        services.reset();
        locator.reset();
    });
}

TEST(WmiProbes, AWaitThatRunsOutCostsOnlyItsOwnQuery) {
    const std::vector<std::wstring> order = {L"Win32_Processor", L"Win32_PhysicalMemory",
                                             L"Win32_OperatingSystem"};
    const int64_t sixteenGiB = int64_t(16) << 30;
    const std::wstring windows = L"Microsoft Windows 10 Pro";
    struct Case {
        int timeOutAt;
        int width;
        int64_t memory;
        std::wstring caption;
    };
    const Case cases[] = {{-1, 64, sixteenGiB, windows},
                          {0, 0, sixteenGiB, windows},
                          {1, 64, 0, windows},
                          {2, 64, sixteenGiB, L""}};
    for (const Case& c : cases) {
        std::wstring caption = L"unset";
        int width = -1;
        int64_t memory = -1;
        ScriptedQueries wmi;
        wmi.timeOutAt = c.timeOutAt;
        QueryOsCpuMemoryWith(wmi, caption, width, memory);
        EXPECT_EQ(order, wmi.asked) << c.timeOutAt;
        EXPECT_EQ(c.width, width) << c.timeOutAt;
        EXPECT_EQ(c.memory, memory) << c.timeOutAt;
        EXPECT_EQ(c.caption, caption) << c.timeOutAt;
    }
}
