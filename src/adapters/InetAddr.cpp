#include "adapters/InetAddr.h"

#include <cstring>
#include <optional>

namespace adapters {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

// One part of the address, starting at text[pos]; pos moves past it.
std::optional<std::uint64_t> ParsePart(std::string_view text, std::size_t& pos) {
    int base = 10;
    if (pos < text.size() && text[pos] == '0') {
        base = 8;
        if (pos + 1 < text.size() && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
            base = 16;
            pos += 2;
        }
    }
    const std::size_t start = pos;
    std::uint64_t value = 0;
    while (pos < text.size()) {
        const int digit = DigitValue(text[pos], base);
        if (digit < 0)
            break;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
        ++pos;
    }
    // "0x" with no digit is malformed; a lone "0" is a valid octal zero.
    if (pos == start && base != 8)
        return std::nullopt;
    return value;
}

}  // namespace

std::uint32_t InetAddr(std::string_view text) {
    if (text.empty())
        return kInaddrAny;
    std::uint64_t parts[4] = {};
    std::size_t count = 0;
    std::size_t pos = 0;
    for (;;) {
        if (pos >= text.size() || DigitValue(text[pos], 10) < 0)
            return kInaddrNone;
        const std::optional<std::uint64_t> part = ParsePart(text, pos);
        if (!part)
            return kInaddrNone;
        parts[count++] = *part;
        if (pos < text.size() && text[pos] == '.') {
            if (count == 4)
                return kInaddrNone;
            ++pos;
            continue;
        }
        break;
    }
    for (; pos < text.size(); ++pos) {
        if (!IsSpace(text[pos]))
            return kInaddrNone;
    }

    // The last part fills every byte the earlier parts left.
    std::uint64_t hostOrder = 0;
    const std::uint64_t lastLimit = 0xFFFFFFFFu >> (8 * (count - 1));
    if (parts[count - 1] > lastLimit)
        return kInaddrNone;
    for (std::size_t i = 0; i + 1 < count; ++i) {
        if (parts[i] > 0xFF)
            return kInaddrNone;
        hostOrder |= parts[i] << (24 - 8 * i);
    }
    hostOrder |= parts[count - 1];

    const std::uint8_t bytes[4] = {
        static_cast<std::uint8_t>(hostOrder >> 24), static_cast<std::uint8_t>(hostOrder >> 16),
        static_cast<std::uint8_t>(hostOrder >> 8), static_cast<std::uint8_t>(hostOrder)};
    std::uint32_t value = 0;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

AddressBytes BytesOf(std::uint32_t networkOrderAddress) {
    AddressBytes bytes{};
    std::memcpy(bytes.b, &networkOrderAddress, sizeof bytes.b);
    return bytes;
}

}  // namespace adapters
