// The AC-adapter identifier match behind portable-PC detection.
#include "probes/hardware_id.h"

#include <gtest/gtest.h>

#include <iterator>

TEST(HardwareId, MatchesTheThreeAcAdapterFormsExactly) {
    EXPECT_TRUE(IsAcAdapterHardwareId(L"*ACPI0003\\"));
    EXPECT_TRUE(IsAcAdapterHardwareId(L"ACPI\\ACPI0003"));
    EXPECT_TRUE(IsAcAdapterHardwareId(L"ACPI\\VEN_ACPI&DEV_0003"));
    // Letter case, missing or extra characters, neighbouring devices.
    EXPECT_FALSE(IsAcAdapterHardwareId(L"acpi\\acpi0003"));
    EXPECT_FALSE(IsAcAdapterHardwareId(L"ACPI\\VEN_ACPI&dev_0003"));
    EXPECT_FALSE(IsAcAdapterHardwareId(L"*ACPI0003"));
    EXPECT_FALSE(IsAcAdapterHardwareId(L"ACPI\\ACPI0003\\"));
    EXPECT_FALSE(IsAcAdapterHardwareId(L"ACPI\\ACPI0003 "));
    EXPECT_FALSE(IsAcAdapterHardwareId(L"ACPI\\PNP0C0A"));
    EXPECT_FALSE(IsAcAdapterHardwareId(L""));
}

TEST(HardwareId, OnlyTheFirstIdentifierOfTheListCounts) {
    // A notebook's AC adapter, as newer Windows versions list it.
    const wchar_t adapter[] = L"ACPI\\VEN_ACPI&DEV_0003\0ACPI\\ACPI0003\0*ACPI0003\\\0";
    EXPECT_TRUE(IsAcAdapterHardwareId(FirstHardwareId(adapter, std::size(adapter))));

    // The identifier in second place does not make the device an AC adapter.
    const wchar_t battery[] = L"ACPI\\VEN_PNP&DEV_0C0A\0ACPI\\ACPI0003\0";
    EXPECT_EQ(L"ACPI\\VEN_PNP&DEV_0C0A", FirstHardwareId(battery, std::size(battery)));
    EXPECT_FALSE(IsAcAdapterHardwareId(FirstHardwareId(battery, std::size(battery))));

    // A list without a terminator is read only as far as it was delivered.
    const wchar_t unterminated[] = {L'A', L'C', L'P', L'I', L'X', L'X'};
    EXPECT_EQ(L"ACPI", FirstHardwareId(unterminated, 4));
    EXPECT_EQ(L"", FirstHardwareId(unterminated, 0));
    EXPECT_EQ(L"", FirstHardwareId(nullptr, 10));
}
