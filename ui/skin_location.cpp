#include "ui/skin_location.h"

#include "support/long_path.h"

namespace {

// Names no folder: the "\\?\" form skips every relative-path rule, and no
// drive or device has this name. Only seen when a test keeps the program
// alive past the layout error box.
const wchar_t kNowhere[] = L"\\\\?\\unreadable-executable-path\\";

} // namespace

SkinLocation LocateSkin(const std::wstring& instancePath, const std::wstring& modulePath,
                        const std::wstring& skinName) {
    SkinLocation location;
    if (!instancePath.empty()) {
        location.folderText = skinName;
        return location;
    }
    const size_t slash = modulePath.rfind(L'\\');
    if (slash == std::wstring::npos || slash == 0) {
        location.folderText = kNowhere + skinName;
        location.unknown = true;
        return location;
    }
    // The toolkit could not read the path (too long for it): the whole
    // folder, in the long form the file functions need for such a path.
    location.folderText = ExtendedLengthPath(modulePath.substr(0, slash + 1) + skinName);
    return location;
}
