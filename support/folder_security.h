// The security of the folders this program creates below the machine-wide
// application data (Windows).
#pragma once

#include "support/win_handles.h"

#include <string>

// Such folders would otherwise inherit the application-data folder's rights,
// under which any user may create folders there and owns what he creates: a
// user could make ORMEX\Logs first and later swap it for a link that an
// elevated run writes through. Instead each folder gets its own protected
// list (nothing inherited from above):
//   SYSTEM, Administrators  full control, over the folder and all inside it;
//   Users                   on the folders: list, traverse, read, and create
//                           files, but no folders (a folder planted under
//                           the log's name would end logging for good); no
//                           delete, no rename, no change of permissions;
//                           on the files inside: read, write and delete, so
//                           that runs without elevation still log and
//                           replace the configuration;
//   OWNER RIGHTS            read the permissions only: a user who created one
//                           of the folders gets no owner's right to change
//                           its permissions.
// The list as SDDL text.
std::wstring ProgramFolderSddl();

// The security attributes for a new folder; attributes() is null when
// the list could not be built, and callers then create nothing.
class ProgramFolderSecurity {
public:
    ProgramFolderSecurity();
    ProgramFolderSecurity(const ProgramFolderSecurity&) = delete;
    ProgramFolderSecurity& operator=(const ProgramFolderSecurity&) = delete;

    SECURITY_ATTRIBUTES* attributes() { return m_descriptor ? &m_attributes : nullptr; }

private:
    LocalOwner m_descriptor;
    SECURITY_ATTRIBUTES m_attributes = {};
};
