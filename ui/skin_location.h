// Where a window's skin folder lies. The toolkit joins its own idea of the
// executable's folder (read into 260 characters, empty beyond) with the text
// a window gives as its skin folder; with an empty prefix the skin would be
// loaded relative to the current directory, from wherever the program was
// started. Portable.
#pragma once

#include <string>

struct SkinLocation {
    // What the window hands the toolkit as its skin folder.
    std::wstring folderText;
    // The executable's path could not be read: there is no skin to load, and
    // the toolkit's layout error box must end the program.
    bool unknown = false;
};

// instancePath: the toolkit's executable folder (may be empty); modulePath:
// the executable's full path read in full (empty when unreadable).
SkinLocation LocateSkin(const std::wstring& instancePath, const std::wstring& modulePath,
                        const std::wstring& skinName);
