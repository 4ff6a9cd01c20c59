// String resources in the window's language. Wine ignores the thread UI
// language for LoadStringW, so strings are looked up by explicit language in
// the resource's 16-string blocks; Windows gives the same result.
#pragma once

#include <windows.h>

#include <string>

// Sets the calling thread's UI language (SetThreadUILanguage) and remembers
// it for LoadUiString on this thread.
void SetUiLanguage(LANGID language);
LANGID GetUiLanguage();

// String `id` of this program's resources in the thread's UI language, cut to
// maxChars; English when that language lacks it; empty when missing.
std::wstring LoadUiString(UINT id, size_t maxChars);
// The same for an explicit language, without fallback.
std::wstring LoadStringForLanguage(UINT id, LANGID language, size_t maxChars);
