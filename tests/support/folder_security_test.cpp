// The rights the program's folders are created with, read back from the
// security descriptor as Windows builds it (Wine keeps no file permissions
// of its own to read back from disk).
#include "support/folder_security.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

struct Rights {
    ACCESS_MASK onFolder = 0; // the folder itself and folders inside
    ACCESS_MASK onFiles = 0;  // files created inside
};

PSID Sid(const wchar_t* text, LocalOwner& owner) {
    PSID sid = nullptr;
    EXPECT_TRUE(ConvertStringSidToSidW(text, &sid)) << text;
    owner.reset(sid);
    return sid;
}

// What the list allows a SID, folded over its allow entries by inheritance.
Rights AllowedFor(PSECURITY_DESCRIPTOR descriptor, PSID sid) {
    Rights rights;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    if (!GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) || !present || !dacl)
        return rights;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* raw = nullptr;
        if (!GetAce(dacl, i, &raw))
            continue;
        auto* ace = static_cast<ACCESS_ALLOWED_ACE*>(raw);
        EXPECT_EQ(ACCESS_ALLOWED_ACE_TYPE, ace->Header.AceType) << "only allow entries";
        if (!EqualSid(reinterpret_cast<PSID>(&ace->SidStart), sid))
            continue;
        const BYTE flags = ace->Header.AceFlags;
        if (!(flags & INHERIT_ONLY_ACE)) {
            rights.onFolder |= ace->Mask;
            EXPECT_TRUE(flags & CONTAINER_INHERIT_ACE) << "folders inside get the same";
        }
        if (flags & OBJECT_INHERIT_ACE)
            rights.onFiles |= ace->Mask;
    }
    return rights;
}

} // namespace

TEST(ProgramFolderSecurity, ProtectedListOfSystemAdministratorsUsersAndOwnerRights) {
    ProgramFolderSecurity security;
    ASSERT_NE(nullptr, security.attributes());
    PSECURITY_DESCRIPTOR descriptor = security.attributes()->lpSecurityDescriptor;
    EXPECT_FALSE(security.attributes()->bInheritHandle);

    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
    EXPECT_TRUE(control & SE_DACL_PROTECTED) << "nothing inherited from the parent";

    LocalOwner system, admins, users, ownerRights, everyone, creatorOwner;
    for (PSID full : {Sid(L"SY", system), Sid(L"BA", admins)}) {
        const Rights r = AllowedFor(descriptor, full);
        EXPECT_EQ(ACCESS_MASK(FILE_ALL_ACCESS), r.onFolder & FILE_ALL_ACCESS);
        EXPECT_EQ(ACCESS_MASK(FILE_ALL_ACCESS), r.onFiles & FILE_ALL_ACCESS);
    }

    const Rights u = AllowedFor(descriptor, Sid(L"BU", users));
    // Users may look inside and add files...
    for (ACCESS_MASK allowed : std::initializer_list<ACCESS_MASK>{
             FILE_LIST_DIRECTORY, FILE_ADD_FILE, FILE_TRAVERSE, FILE_READ_ATTRIBUTES})
        EXPECT_EQ(allowed, u.onFolder & allowed) << std::hex << allowed;
    // ...but not plant folders where the program's files belong (a folder
    // named like the log would keep every run from logging), nor delete,
    // rename or re-point the folders, nor change who may.
    for (ACCESS_MASK denied : std::initializer_list<ACCESS_MASK>{
             FILE_ADD_SUBDIRECTORY, DELETE, FILE_DELETE_CHILD, WRITE_DAC, WRITE_OWNER,
             FILE_WRITE_ATTRIBUTES, FILE_WRITE_EA})
        EXPECT_EQ(0u, u.onFolder & denied) << std::hex << denied;
    // Files inside: read, write and replace, so that runs without elevation
    // still log and update the configuration; never change permissions.
    for (ACCESS_MASK allowed : std::initializer_list<ACCESS_MASK>{FILE_READ_DATA, FILE_WRITE_DATA,
                                                                  FILE_APPEND_DATA, DELETE})
        EXPECT_EQ(allowed, u.onFiles & allowed) << std::hex << allowed;
    EXPECT_EQ(0u, u.onFiles & (WRITE_DAC | WRITE_OWNER));

    // The owner of a folder a user made gets nothing beyond reading the list.
    const Rights owner = AllowedFor(descriptor, Sid(L"S-1-3-4", ownerRights));
    EXPECT_EQ(ACCESS_MASK(READ_CONTROL), owner.onFolder);
    EXPECT_EQ(ACCESS_MASK(READ_CONTROL), owner.onFiles);

    // Nobody else: no Everyone, no CREATOR OWNER that would hand a user's
    // folder back to him.
    EXPECT_EQ(0u, AllowedFor(descriptor, Sid(L"WD", everyone)).onFolder);
    EXPECT_EQ(0u, AllowedFor(descriptor, Sid(L"CO", creatorOwner)).onFiles);
}
