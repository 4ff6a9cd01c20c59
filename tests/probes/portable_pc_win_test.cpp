// Portable-PC detection against Wine's real device list.
#include "probes/portable_pc.h"

#include <gtest/gtest.h>

TEST(PortablePc, WineHasNoAcAdapterDevice) {
    // Wine enumerates a handful of devices and no ACPI0003; the matcher itself
    // is tested with made-up identifier lists.
    EXPECT_FALSE(IsPortablePc());
}
