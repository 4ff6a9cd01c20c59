// The WMI probes against Wine's real WMI, each on a thread of its own so that
// the thread's COM state before and after the probe is known.
#include "engine/check_report.h"
#include "probes/com_text.h"
#include "probes/wmi_helper.h"
#include "support/text.h"

#include <gtest/gtest.h>

#include <iostream>
#include <thread>

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
