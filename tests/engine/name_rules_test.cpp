#include "engine/name_rules.h"

#include <gtest/gtest.h>

TEST(MatchList, FirstEntryInListOrderDecides) {
    int verdict = 0;
    EXPECT_TRUE(MatchList(verdict, {L"RX 9", L"GTX 10", L"GTX"}, L"NVIDIA GEFORCE GTX 1060 ", 2));
    EXPECT_EQ(VERDICT_SUPPORTED, verdict);
    // No match: false, and the verdict keeps whatever it held.
    verdict = 1;
    EXPECT_FALSE(MatchList(verdict, {L"RX 580", L"VEGA"}, L"NVIDIA GEFORCE GTX 1060 ", 2));
    EXPECT_EQ(VERDICT_UNSUPPORTED, verdict);
    EXPECT_FALSE(MatchList(verdict, {}, L"ANY", 2));
    EXPECT_EQ(VERDICT_UNSUPPORTED, verdict);
    // Matching is case-sensitive over upper-case texts: lists hold upper case.
    EXPECT_FALSE(MatchList(verdict, {L"gtx"}, L"NVIDIA GEFORCE GTX 1060 ", 2));
}

TEST(MatchList, EmptyEntryMatchesEveryNameEvenAnEmptyOne) {
    int verdict = 0;
    EXPECT_TRUE(MatchList(verdict, {L""}, L"", 1));
    EXPECT_EQ(VERDICT_UNSUPPORTED, verdict);
    EXPECT_TRUE(NameContains(L"INTEL(R) UHD GRAPHICS 620 ", L""));
    // Entries end at their first zero character: "GTX\0XYZ" is "GTX".
    EXPECT_TRUE(NameContains(L"GEFORCE GTX 970", std::wstring(L"GTX\0XYZ", 7)));
}

TEST(CoreI3, FindsI3AnywhereInTheUpperCaseName) {
    EXPECT_TRUE(IsCoreI3Name(L"INTEL(R) CORE(TM) I3-8100 CPU @ 3.60GHZ"));
    EXPECT_TRUE(IsCoreI3Name(L"INTEL(R) CORE(TM) I3-1005G1 CPU @ 1.20GHZ"));
    EXPECT_FALSE(IsCoreI3Name(L"INTEL(R) CORE(TM) I5-4590 CPU @ 3.30GHZ"));
    EXPECT_FALSE(IsCoreI3Name(L"AMD RYZEN 3 3200G WITH RADEON VEGA GRAPHICS"));
    // The rule works on the upper-case match name only.
    EXPECT_FALSE(IsCoreI3Name(L"Intel(R) Core(TM) i3-8100 CPU @ 3.60GHz"));
}

TEST(LowEndGeForce, ModelNumbersStartingWithFourToSeven) {
    EXPECT_TRUE(IsLowEndGeForce(L"NVIDIA GEFORCE GTX 750 TI "));
    EXPECT_TRUE(IsLowEndGeForce(L"NVIDIA GEFORCE GTX 660 "));
    EXPECT_TRUE(IsLowEndGeForce(L"NVIDIA GEFORCE GTX 480 "));
    EXPECT_TRUE(IsLowEndGeForce(L"NVIDIA GEFORCE GTX 570 "));
    EXPECT_TRUE(IsLowEndGeForce(L"NVIDIA GEFORCE GT 730 "));
    EXPECT_TRUE(IsLowEndGeForce(L"NVIDIA GEFORCE GT 640 "));
    EXPECT_FALSE(IsLowEndGeForce(L"NVIDIA GEFORCE GTX 970 "));
    EXPECT_FALSE(IsLowEndGeForce(L"NVIDIA GEFORCE GTX 1050 "));
    EXPECT_FALSE(IsLowEndGeForce(L"NVIDIA GEFORCE GTX 350 "));
    EXPECT_FALSE(IsLowEndGeForce(L"NVIDIA GEFORCE GT 1030 "));
    EXPECT_FALSE(IsLowEndGeForce(L"NVIDIA GEFORCE RTX 4070 "));
    EXPECT_FALSE(IsLowEndGeForce(L"NVIDIA GEFORCE MX450 "));
    EXPECT_FALSE(IsLowEndGeForce(L""));
}

TEST(LowEndGeForce, NamesCutShortReadNoDigit) {
    // The model number would lie at or past the end of these names.
    EXPECT_FALSE(IsLowEndGeForce(L"GEFORCE GTX"));
    EXPECT_FALSE(IsLowEndGeForce(L"GEFORCE GTX "));
    EXPECT_FALSE(IsLowEndGeForce(L"GEFORCE GT "));
    EXPECT_TRUE(IsLowEndGeForce(L"GEFORCE GTX 7"));
    // A "GT " model decides after the GTX test, either way.
    EXPECT_FALSE(IsLowEndGeForce(L"GEFORCE GTX 750 / GEFORCE GT 1030"));
    EXPECT_TRUE(IsLowEndGeForce(L"GEFORCE GTX 980 / GEFORCE GT 730"));
}

TEST(LowEndGamePattern, GtxOneZeroFiveWithoutTiAndMobileGtx) {
    EXPECT_TRUE(IsLowEndGamePattern(L"NVIDIA GEFORCE GTX 1050 "));
    EXPECT_FALSE(IsLowEndGamePattern(L"NVIDIA GEFORCE GTX 1050 TI "));
    EXPECT_TRUE(IsLowEndGamePattern(L"NVIDIA GEFORCE GTX 980M "));
    EXPECT_TRUE(IsLowEndGamePattern(L"NVIDIA GEFORCE GTX 965M "));
    EXPECT_FALSE(IsLowEndGamePattern(L"NVIDIA GEFORCE GTX 1060 "));
    EXPECT_FALSE(IsLowEndGamePattern(L"NVIDIA GEFORCE GTX 1070 WITH MAX-Q DESIGN "));
    EXPECT_FALSE(IsLowEndGamePattern(L"NVIDIA GEFORCE GTX 970 "));
    EXPECT_FALSE(IsLowEndGamePattern(L"NVIDIA GEFORCE RTX 3070 LAPTOP GPU "));
    // The "M" test looks at the whole name, so a Max-Q part outside the 10
    // series reads as mobile.
    EXPECT_TRUE(IsLowEndGamePattern(L"NVIDIA GEFORCE GTX 1660 TI WITH MAX-Q DESIGN "));
}

TEST(WeakIntelGraphics, ModelNumberThresholdsPerFamily) {
    EXPECT_TRUE(IsWeakIntelGraphics(L"INTEL(R) HD GRAPHICS 630 "));  // 63
    EXPECT_TRUE(IsWeakIntelGraphics(L"INTEL(R) HD GRAPHICS 4600 ")); // 46
    EXPECT_TRUE(IsWeakIntelGraphics(L"INTEL(R) HD GRAPHICS 520 "));
    EXPECT_FALSE(IsWeakIntelGraphics(L"INTEL(R) HD GRAPHICS 6400 "));      // 64
    EXPECT_FALSE(IsWeakIntelGraphics(L"INTEL(R) IRIS(TM) GRAPHICS 540 ")); // 54
    EXPECT_TRUE(IsWeakIntelGraphics(L"INTEL(R) IRIS(TM) GRAPHICS 5100 ")); // 51
    EXPECT_FALSE(IsWeakIntelGraphics(L"INTEL(R) IRIS(TM) GRAPHICS 6100 "));
    EXPECT_FALSE(IsWeakIntelGraphics(L"INTEL(R) IRIS(TM) PLUS GRAPHICS 655 ")); // 65
    EXPECT_FALSE(IsWeakIntelGraphics(L"INTEL(R) IRIS(TM) PLUS GRAPHICS 640 ")); // 64
    EXPECT_TRUE(IsWeakIntelGraphics(L"INTEL(R) IRIS(TM) PLUS GRAPHICS 630 "));
    EXPECT_FALSE(IsWeakIntelGraphics(L"INTEL(R) IRIS(TM) PRO GRAPHICS 580 "));
    EXPECT_FALSE(IsWeakIntelGraphics(L"INTEL(R) IRIS(TM) PRO GRAPHICS 5200 "));
    // Every other Intel name is weak, UHD included.
    EXPECT_TRUE(IsWeakIntelGraphics(L"INTEL(R) UHD GRAPHICS 620 "));
    EXPECT_TRUE(IsWeakIntelGraphics(L"INTEL(R) UHD GRAPHICS 770 "));
    EXPECT_TRUE(IsWeakIntelGraphics(L"INTEL(R) IRIS(R) XE GRAPHICS "));
}

TEST(WeakIntelGraphics, NumberReadLikeWtoi) {
    // Letters read as no number (0); a blank is skipped; a sign is read.
    EXPECT_TRUE(IsWeakIntelGraphics(L"INTEL(R) HD GRAPHICS P630 "));
    EXPECT_TRUE(IsWeakIntelGraphics(L"INTEL(R) HD GRAPHICS  9 "));
    EXPECT_TRUE(IsWeakIntelGraphics(L"INTEL(R) HD GRAPHICS -9 "));
    // Only two characters are read: "+9" is 9.
    EXPECT_TRUE(IsWeakIntelGraphics(L"INTEL(R) HD GRAPHICS +99"));
    // The occurrence may sit anywhere in the name.
    EXPECT_FALSE(IsWeakIntelGraphics(L"MOBILE INTEL(R) IRIS(TM) GRAPHICS 550 "));
}

TEST(WeakIntelGraphics, NamesCutOffBeforeTheModelNumberAreWeak) {
    // Nothing is read past the end of the name; an unreadable model number
    // is 0, below every threshold.
    EXPECT_TRUE(IsWeakIntelGraphics(L"INTEL(R) HD GRAPHICS"));
    EXPECT_TRUE(IsWeakIntelGraphics(L"INTEL(R) HD GRAPHICS "));
    EXPECT_TRUE(IsWeakIntelGraphics(L"INTEL(R) HD GRAPHICS 6"));
    EXPECT_TRUE(IsWeakIntelGraphics(L"INTEL(R) IRIS(TM) GRAPHICS"));
    EXPECT_TRUE(IsWeakIntelGraphics(L"INTEL(R) IRIS(TM) GRAPHICS "));
    EXPECT_TRUE(IsWeakIntelGraphics(L"INTEL(R) IRIS(TM) PLUS GRAPHICS"));
    EXPECT_TRUE(IsWeakIntelGraphics(L"INTEL(R) IRIS(TM) PLUS GRAPHICS "));
    EXPECT_FALSE(IsWeakIntelGraphics(L"INTEL(R) IRIS(TM) PRO GRAPHICS"));
    // A zero inside the name ends it, as for every text comparison here.
    EXPECT_TRUE(IsWeakIntelGraphics(std::wstring(L"INTEL(R) HD GRAPHICS \0\x37\x30", 24)));
}
