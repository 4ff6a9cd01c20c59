#include "toolkit/accessible_names.h"

std::wstring ComposeGroupName(const std::wstring& caption, const std::vector<std::wstring>& parts) {
    std::wstring joined;
    const std::wstring* previous = nullptr;
    for (const std::wstring& part : parts) {
        if (part.empty() || (previous != nullptr && *previous == part))
            continue;
        if (!joined.empty())
            joined += L", ";
        joined += part;
        previous = &part;
    }
    if (caption.empty())
        return joined;
    return joined.empty() ? caption : caption + L": " + joined;
}
