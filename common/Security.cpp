#include "Security.h"

#include <cstddef>
#include <memory>
#include <new>

#include "Handle.h"

namespace qv {

namespace {

DWORD LastErrorOr(DWORD fallback) {
    DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : fallback;
}

// The token's groups, in memory of their own size.
std::unique_ptr<BYTE[]> ReadTokenGroups(HANDLE token, DWORD* error) {
    DWORD size = 0;
    if (GetTokenInformation(token, TokenGroups, nullptr, 0, &size) || GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        *error = LastErrorOr(ERROR_INVALID_DATA);
        return nullptr;
    }
    std::unique_ptr<BYTE[]> groups(new (std::nothrow) BYTE[size]);
    if (!groups) {
        *error = ERROR_NOT_ENOUGH_MEMORY;
        return nullptr;
    }
    if (!GetTokenInformation(token, TokenGroups, groups.get(), size, &size)) {
        *error = LastErrorOr(ERROR_INVALID_DATA);
        return nullptr;
    }
    *error = ERROR_SUCCESS;
    return groups;
}

}  // namespace

SECURITY_ATTRIBUTES* PrivateAttributes() {
    static PrivateSecurity security;
    static const DWORD error = security.Build(GENERIC_ALL) ? ERROR_SUCCESS : GetLastError();
    SetLastError(error);
    return security.Attributes();
}

bool PrivateSecurity::Build(ACCESS_MASK access) {
    m_built = false;
    // Compose's token handle is closed by the time the error is set again,
    // so the caller reads the error that made it fail.
    DWORD error = Compose(access);
    m_built = error == ERROR_SUCCESS;
    SetLastError(error);
    return m_built;
}

DWORD PrivateSecurity::Compose(ACCESS_MASK access) {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return LastErrorOr(ERROR_ACCESS_DENIED);
    UniqueHandle token(raw);

    union {
        TOKEN_USER user;
        BYTE bytes[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    } user;
    DWORD size = 0;
    if (!GetTokenInformation(token.Get(), TokenUser, &user, sizeof(user), &size)) return LastErrorOr(ERROR_INVALID_DATA);
    if (!CopySid(sizeof(m_userSid), m_userSid, user.user.User.Sid)) return LastErrorOr(ERROR_INVALID_SID);

    DWORD error = ERROR_SUCCESS;
    std::unique_ptr<BYTE[]> groupBytes = ReadTokenGroups(token.Get(), &error);
    if (!groupBytes) return error;
    // Tokens made without a logon session (some services, Wine) have no
    // logon SID; the user and SYSTEM still keep everybody else out.
    bool hasLogonSid = false;
    const TOKEN_GROUPS* groups = reinterpret_cast<const TOKEN_GROUPS*>(groupBytes.get());
    for (DWORD i = 0; i < groups->GroupCount && !hasLogonSid; ++i) {
        if ((groups->Groups[i].Attributes & SE_GROUP_LOGON_ID) != SE_GROUP_LOGON_ID) continue;
        if (!CopySid(sizeof(m_logonSid), m_logonSid, groups->Groups[i].Sid)) return LastErrorOr(ERROR_INVALID_SID);
        hasLogonSid = true;
    }

    DWORD systemSize = sizeof(m_systemSid);
    if (!CreateWellKnownSid(WinLocalSystemSid, nullptr, m_systemSid, &systemSize)) return LastErrorOr(ERROR_INVALID_SID);

    PSID granted[3] = {m_userSid, m_systemSid, m_logonSid};
    const DWORD count = hasLogonSid ? 3 : 2;
    DWORD aclSize = sizeof(ACL);
    for (DWORD i = 0; i < count; ++i) aclSize += offsetof(ACCESS_ALLOWED_ACE, SidStart) + GetLengthSid(granted[i]);
    ACL* acl = reinterpret_cast<ACL*>(m_acl);
    if (!InitializeAcl(acl, aclSize, ACL_REVISION)) return LastErrorOr(ERROR_INVALID_ACL);
    for (DWORD i = 0; i < count; ++i)
        if (!AddAccessAllowedAce(acl, ACL_REVISION, access, granted[i])) return LastErrorOr(ERROR_INVALID_ACL);

    // Present and not defaulted, so the object takes exactly this list;
    // protected, so no parent's entries are added to it.
    if (!InitializeSecurityDescriptor(&m_descriptor, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&m_descriptor, TRUE, acl, FALSE) ||
        !SetSecurityDescriptorControl(&m_descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED))
        return LastErrorOr(ERROR_INVALID_SECURITY_DESCR);

    m_attributes = SECURITY_ATTRIBUTES();
    m_attributes.nLength = sizeof(m_attributes);
    m_attributes.lpSecurityDescriptor = &m_descriptor;
    m_attributes.bInheritHandle = FALSE;
    return ERROR_SUCCESS;
}

}  // namespace qv
