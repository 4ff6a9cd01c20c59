// How a group of controls reads to a screen reader: one line made of what
// its parts say, so that a row of the result window is heard at once.
#pragma once

#include <string>
#include <vector>

// The parts joined with ", ", leaving out empty ones and a part that repeats
// the one before it (an icon named like the text beside it is heard once).
// A caption comes first, followed by ": ": "VR games: Supported".
std::wstring ComposeGroupName(const std::wstring& caption, const std::vector<std::wstring>& parts);
