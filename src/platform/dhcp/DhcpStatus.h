#pragma once
// What DhcpNotifyConfigChange answers: 0 for success, else a Windows error code. Windows' own library
// answers system codes; ours on Linux answers the few system codes that fit and, for the faults a user
// can put right, codes of its own with bit 29 set, the bit Windows leaves to applications' error codes.

#include <cstdint>

namespace win {

inline constexpr std::uint32_t kDhcpSuccess = 0;
inline constexpr std::uint32_t kDhcpAccessDenied = 5;       // ERROR_ACCESS_DENIED
inline constexpr std::uint32_t kDhcpNoSuchAdapter = 55;     // ERROR_DEV_NOT_EXIST
inline constexpr std::uint32_t kDhcpInvalidParameter = 87;  // ERROR_INVALID_PARAMETER

inline constexpr std::uint32_t kDhcpApplicationCode = 0x20000000;
inline constexpr std::uint32_t kDhcpBadAddress = kDhcpApplicationCode | 1;
inline constexpr std::uint32_t kDhcpBadMask = kDhcpApplicationCode | 2;
inline constexpr std::uint32_t kDhcpBadGateway = kDhcpApplicationCode | 3;
inline constexpr std::uint32_t kDhcpBadNameServer = kDhcpApplicationCode | 4;
// The DNS servers could not be set (the resolver refused them, its file could not be written);
// nothing was changed.
inline constexpr std::uint32_t kDhcpNameServersRefused = kDhcpApplicationCode | 5;
// The settings the program wrote just before could not be read back.
inline constexpr std::uint32_t kDhcpSettingsUnreadable = kDhcpApplicationCode | 6;
// Another process held the settings' store locked for longer than a switch waits; nothing was changed.
inline constexpr std::uint32_t kDhcpSettingsBusy = kDhcpApplicationCode | 7;
// NetworkManager, which manages the link, refused the change of its connection (not writable, gone,
// not reapplied); its settings were put back as they were.
inline constexpr std::uint32_t kDhcpNetworkManagerRefused = kDhcpApplicationCode | 8;
// Any other failure of the system: the low 16 bits are its error number.
inline constexpr std::uint32_t kDhcpSystemError = kDhcpApplicationCode | 0x10000;

}  // namespace win
