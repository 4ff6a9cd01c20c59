// Name tests shared by the processor and graphics rules. Names and list
// entries are upper case already; matching is a plain substring search.
#pragma once

#include "engine/check_report.h"

#include <string>

// True when entry occurs in name. Both are taken up to their first zero
// character, so an empty entry occurs in every name.
bool NameContains(const std::wstring& name, const std::wstring& entry);

// True when the upper-case processor name contains "I3".
bool IsCoreI3Name(const std::wstring& name);

// Tries the entries in order; the first one the name contains sets verdict to
// value and the result is true. Otherwise verdict keeps its value.
bool MatchList(int& verdict, const NameList& list, const std::wstring& name, int value);

// GeForce GTX and GT models whose number begins with 4, 5, 6 or 7.
bool IsLowEndGeForce(const std::wstring& name);

// The games-list exception: "GTX 105" without "TI", or a "GTX" outside the
// "10" series with an "M" in the name (the mobile parts).
bool IsLowEndGamePattern(const std::wstring& name);

// Intel integrated graphics too weak for the headset. A name cut off right
// after the family text, with no model number to read, counts as weak: the
// model cannot be told apart from the weak ones, and the number is never read
// past the end of the name.
bool IsWeakIntelGraphics(const std::wstring& name);
