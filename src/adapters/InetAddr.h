#pragma once
// Dotted IPv4 text to the 32-bit value inet_addr returns: the four dotted numbers left to right are the
// value's bytes in memory order (network byte order), whatever the machine's own byte order.

#include <cstdint>
#include <string_view>

namespace adapters {

constexpr std::uint32_t kInaddrNone = 0xFFFFFFFF;
constexpr std::uint32_t kInaddrAny = 0;

// The classic forms a.b.c.d, a.b.c (c fills 16 bits), a.b (b fills 24 bits) and a (32 bits); each part
// decimal, octal with a leading 0 or hexadecimal with 0x; trailing white space is allowed. Malformed
// text, and a part too large for the bits it fills ("300.1.1.1"), give kInaddrNone. The empty text gives
// kInaddrAny, as the platforms the program was made for answered it.
std::uint32_t InetAddr(std::string_view text);

// The value's four bytes in memory order: {192, 168, 0, 1} for 192.168.0.1.
struct AddressBytes {
    std::uint8_t b[4];
};
AddressBytes BytesOf(std::uint32_t networkOrderAddress);

}  // namespace adapters
