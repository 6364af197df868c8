// The resolver the DNS tests read back from: it must serve the test's own network namespace, start with
// no servers of the host's, and take a link's servers over its private bus.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>

#include "NetworkNamespace.h"
#include "PrivateResolved.h"

namespace {

class PrivateResolvedTest : public NetworkNamespace {};

bool SameNamespace(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

TEST_F(PrivateResolvedTest, ServesThisNamespaceAndTakesSetLinkDnsForOneLink) {
    Ip("link add va0 type veth peer name vb0");
    Ip("link set va0 up");
    Ip("link set vb0 up");
    pid_t daemon = 0;
    {
        PrivateResolved resolved("/proc/thread-self/ns/net", dir / "resolved");
        if (!resolved.Up()) {
            if (!resolved.SkipReason().empty())
                GTEST_SKIP() << resolved.SkipReason();
            FAIL() << resolved.Error();
        }
        EXPECT_EQ(resolved.BusAddress(), "unix:path=" + dir / "resolved/bus");

        // The check the program makes before it trusts a resolver it finds on a bus.
        std::string owner;
        ASSERT_TRUE(
            resolved.Busctl({"call", "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                             "GetConnectionUnixProcessID", "s", "org.freedesktop.resolve1"},
                            owner))
            << owner;
        ASSERT_EQ(owner.rfind("u ", 0), 0U) << owner;
        daemon = std::atoi(owner.c_str() + 2);
        EXPECT_TRUE(SameNamespace("/proc/" + std::to_string(daemon) + "/ns/net", "/proc/thread-self/ns/net"));

        std::string global;
        ASSERT_TRUE(resolved.Busctl({"get-property", "org.freedesktop.resolve1", "/org/freedesktop/resolve1",
                                     "org.freedesktop.resolve1.Manager", "DNS"},
                                    global));
        EXPECT_EQ(global, "a(iiay) 0\n") << "servers not set by the test";

        std::string reply;
        ASSERT_TRUE(resolved.Busctl({"call",
                                     "org.freedesktop.resolve1",
                                     "/org/freedesktop/resolve1",
                                     "org.freedesktop.resolve1.Manager",
                                     "SetLinkDNS",
                                     "ia(iay)",
                                     std::to_string(IfIndex("va0")),
                                     "2",
                                     "2",
                                     "4",
                                     "192",
                                     "0",
                                     "2",
                                     "53",
                                     "2",
                                     "4",
                                     "198",
                                     "51",
                                     "100",
                                     "53"},
                                    reply))
            << reply;
        EXPECT_EQ(resolved.LinkDns("va0"), (std::vector<std::string>{"192.0.2.53", "198.51.100.53"}))
            << resolved.Error();
        EXPECT_EQ(resolved.LinkDns("vb0"), std::vector<std::string>{}) << resolved.Error();
        EXPECT_EQ(resolved.Error(), "");
        ASSERT_TRUE(resolved.Down()) << resolved.Error();
    }
    EXPECT_NE(::kill(daemon, 0), 0) << "systemd-resolved " << daemon << " outlived its fixture";
}

}  // namespace
