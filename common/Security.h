#pragma once
// A security descriptor for the objects the suite creates (the asker's pipe
// instances, the daemon's desktops) that lets in this logon session, this
// user and the system, and nobody else.

#include <windows.h>

namespace qv {

class PrivateSecurity {
public:
    PrivateSecurity() = default;
    // The descriptor points into the object itself, so it stays where it was made.
    PrivateSecurity(const PrivateSecurity&) = delete;
    PrivateSecurity& operator=(const PrivateSecurity&) = delete;

    // A protected DACL that grants access to the token's logon SID (when the
    // token has one), its user and SYSTEM, with no other entry. On failure
    // the last error tells why, for the caller to log, and Attributes() stays
    // null: a caller that went on anyway would get the default security.
    [[nodiscard]] bool Build(ACCESS_MASK access);

    // Not inheritable; null until Build succeeded.
    SECURITY_ATTRIBUTES* Attributes() { return m_built ? &m_attributes : nullptr; }

private:
    DWORD Compose(ACCESS_MASK access);

    alignas(DWORD) BYTE m_logonSid[SECURITY_MAX_SID_SIZE] = {};
    alignas(DWORD) BYTE m_userSid[SECURITY_MAX_SID_SIZE] = {};
    alignas(DWORD) BYTE m_systemSid[SECURITY_MAX_SID_SIZE] = {};
    alignas(DWORD) BYTE m_acl[sizeof(ACL) + 3 * (sizeof(ACCESS_ALLOWED_ACE) + SECURITY_MAX_SID_SIZE)] = {};
    SECURITY_DESCRIPTOR m_descriptor = {};
    SECURITY_ATTRIBUTES m_attributes = {};
    bool m_built = false;
};

// The suite's objects all grant GENERIC_ALL to those three: built once per
// process, since the token does not change, and shared by every pipe
// instance and desktop the process makes. Null when it could not be built
// (the last error of that one attempt tells why); the callers then make
// nothing rather than an object open to everybody.
SECURITY_ATTRIBUTES* PrivateAttributes();

}  // namespace qv
