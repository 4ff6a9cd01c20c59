// Fuzz target: the requirements parser over arbitrary bytes.
#include "engine/requirements.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

size_t Total(const CCheckReport& r) {
    size_t total = 0;
    for (const auto& key : kRequirementsKeys)
        total += (r.*key.list).size();
    return total;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CCheckReport report;
    const RequirementsStatus first = AppendRequirements(bytes, report);
    Check((first == RequirementsStatus::ParseFailed) == !ParsesAsJson(bytes));
    if (first != RequirementsStatus::Loaded) {
        // A refused file adds nothing.
        Check(Total(report) == 0);
        return 0;
    }
    for (const auto& key : kRequirementsKeys)
        for (const auto& entry : report.*key.list)
            for (wchar_t c : entry)
                Check(!(c >= L'a' && c <= L'z'));

    // A second load appends exactly the same entries again.
    const size_t once = Total(report);
    CCheckReport copy = report;
    Check(AppendRequirements(bytes, report) == RequirementsStatus::Loaded);
    Check(Total(report) == 2 * once);
    for (const auto& key : kRequirementsKeys) {
        const NameList& list = report.*key.list;
        const NameList& single = copy.*key.list;
        for (size_t i = 0; i < single.size(); ++i)
            Check(list[i] == single[i] && list[single.size() + i] == single[i]);
    }
    return 0;
}
