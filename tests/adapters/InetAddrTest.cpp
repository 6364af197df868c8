#include "adapters/InetAddr.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using adapters::BytesOf;
using adapters::InetAddr;
using adapters::kInaddrNone;

struct Case {
    const char* text;
    std::array<int, 4> bytes;
};

std::array<int, 4> Bytes(std::uint32_t value) {
    const adapters::AddressBytes b = BytesOf(value);
    return {b.b[0], b.b[1], b.b[2], b.b[3]};
}

TEST(InetAddr, DottedTextBecomesBytesInMemoryOrder) {
    const Case cases[] = {
        {"192.168.0.1", {192, 168, 0, 1}},
        {"10.1.2.3", {10, 1, 2, 3}},
        {"0.0.0.0", {0, 0, 0, 0}},
        {"255.255.255.0", {255, 255, 255, 0}},
        {"1.2.3", {1, 2, 0, 3}},
        {"1.2.65535", {1, 2, 255, 255}},
        {"1.16777215", {1, 255, 255, 255}},
        {"3232235521", {192, 168, 0, 1}},
        {"0x7f.1", {127, 0, 0, 1}},
        {"010.0.0.1", {8, 0, 0, 1}},
        {"1.2.3.4 ", {1, 2, 3, 4}},
        {"1.2.3.4\n", {1, 2, 3, 4}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Bytes(InetAddr(c.text)), c.bytes) << c.text;
}

TEST(InetAddr, MalformedTextGivesNone) {
    const char* cases[] = {"300.1.1.1", "1.2.3.256", "1.2.3.4.5",  "1..2.3",   "a.b.c.d",
                           " 1.2.3.4",  "1.2.3.4x",  "08.1.1.1",   "0x.1.1.1", "1.2.65536",
                           "1.2.3.",    ".1.2.3",    "4294967296", "1,2,3,4"};
    for (const char* text : cases)
        EXPECT_EQ(InetAddr(text), kInaddrNone) << text;
}

TEST(InetAddr, EmptyTextIsAny) {
    EXPECT_EQ(InetAddr(""), adapters::kInaddrAny);
}

}  // namespace
