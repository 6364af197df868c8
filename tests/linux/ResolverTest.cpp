// The DNS servers as the resolver file holds them and as the program's NameServer value names them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/dhcp/linux/NameServerList.h"
#include "platform/resolver/linux/ResolvConf.h"
#include "platform/resolver/linux/ResolvConfServers.h"
#include "support/TempDir.h"

namespace {

using namespace platform_linux;
using Servers = std::vector<std::string>;

std::string Read(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ResolvConf, OnlyIpv4NameserverLinesCount) {
    const std::string resolvConf =
        "# generated\n"
        "search example.net\n"
        "nameserver 192.168.1.1\n"
        "nameserver\t8.8.8.8  # google\n"
        "nameserver 2001:4860:4860::8888\n"
        "#nameserver 7.7.7.7\n"
        "nameserver 300.1.1.1\n"
        "options edns0\n"
        "nameserver 9.9.9.9";
    EXPECT_EQ(ParseNameServers(resolvConf), (Servers{"192.168.1.1", "8.8.8.8", "9.9.9.9"}));
    EXPECT_TRUE(ParseNameServers("").empty());
}

TEST(ResolvConf, ReplacingKeepsEveryOtherLineInPlace) {
    struct Case {
        std::string before;
        Servers servers;
        std::string after;
    };
    const Case cases[] = {
        {"# hand\nsearch lan\nnameserver 10.0.0.1\noptions edns0\nnameserver 10.0.0.2\n",
         {"192.0.2.53", "192.0.2.54"},
         "# hand\nsearch lan\nnameserver 192.0.2.53\nnameserver 192.0.2.54\noptions edns0\n"},
        {"nameserver 2001:db8::35\nnameserver 10.0.0.1\n",
         {"192.0.2.53"},
         "nameserver 192.0.2.53\nnameserver 2001:db8::35\n"},
        {"search lan", {"192.0.2.53"}, "search lan\nnameserver 192.0.2.53\n"},
        {"", {"192.0.2.53"}, "nameserver 192.0.2.53\n"},
        {"nameserver 10.0.0.1\nsearch lan\n", {}, "search lan\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReplaceNameServers(c.before, c.servers), c.after) << c.before;
}

TEST(ResolvConf, WritingReplacesTheFileAndFollowsALink) {
    TempDir dir;
    dir.Write("run/resolv.conf", "nameserver 10.0.0.1\n");
    ::chmod((dir / "run/resolv.conf").c_str(), 0640);
    std::filesystem::create_directories(dir.path / "etc");
    std::filesystem::create_symlink(dir.path / "run/resolv.conf", dir.path / "etc/resolv.conf");
    struct stat before {};
    ::stat((dir / "run/resolv.conf").c_str(), &before);

    ASSERT_EQ(WriteResolvConf(dir / "etc/resolv.conf", "nameserver 192.0.2.53\n"), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path / "etc/resolv.conf"));
    EXPECT_EQ(Read(dir / "run/resolv.conf"), "nameserver 192.0.2.53\n");
    struct stat after {};
    ::stat((dir / "run/resolv.conf").c_str(), &after);
    EXPECT_NE(after.st_ino, before.st_ino) << "a new file renamed over the old one";
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path / "run"), {}), 1)
        << "no temporary file left behind";

    std::string text;
    EXPECT_EQ(ReadResolvConf(dir / "missing", text), 0);
    EXPECT_EQ(text, "");
    EXPECT_NE(WriteResolvConf(dir / "no-such-folder/resolv.conf", "x\n"), 0);
}

// Each read shows the file as it is then: a write in place of the same size right after a read, a
// file replaced by a rename, a deleted file. The second reader's clock runs an hour ahead, so that it
// keeps what it read and has to notice each change by the file's identity and times.
TEST(ResolvConfServers, EveryChangeShowsAtTheNextRead) {
    TempDir dir;
    const std::string path = dir / "resolv.conf";
    const auto hourAhead = [] {
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        now.tv_sec += 3600;
        return now;
    };
    ResolvConfServers now;
    ResolvConfServers ahead(hourAhead);
    for (ResolvConfServers* reader : {&now, &ahead}) {
        Servers servers;
        std::ofstream(path) << "nameserver 10.0.0.1\n";
        ASSERT_EQ(reader->Read(path, servers), 0);
        EXPECT_EQ(servers, Servers{"10.0.0.1"});
        std::ofstream(path) << "nameserver 10.0.0.2\n";
        ASSERT_EQ(reader->Read(path, servers), 0);
        EXPECT_EQ(servers, Servers{"10.0.0.2"});
        std::ofstream(path + ".new") << "nameserver 10.0.0.3\n";
        std::filesystem::rename(path + ".new", path);
        ASSERT_EQ(reader->Read(path, servers), 0);
        EXPECT_EQ(servers, Servers{"10.0.0.3"});
        std::filesystem::remove(path);
        ASSERT_EQ(reader->Read(path, servers), 0);
        EXPECT_EQ(servers, Servers{});
    }
}

TEST(NameServerValue, BlankAndZeroEntriesNameNoServer) {
    struct Case {
        const char* value;
        bool valid;
        Servers servers;
    };
    const Case cases[] = {
        {"192.0.2.53,192.0.2.54", true, {"192.0.2.53", "192.0.2.54"}},
        {"192.0.2.53,", true, {"192.0.2.53"}},
        {",192.0.2.54", true, {"192.0.2.54"}},
        {",", true, {}},
        {"", true, {}},
        {"0.0.0.0,0.0.0.0", true, {}},
        {"0.0.0.0,192.0.2.54", true, {"192.0.2.54"}},
        {"192.0.2.53 192.0.2.54", true, {"192.0.2.53", "192.0.2.54"}},
        {"192.0.2.53,dns.example", false, {}},
        {"300.1.1.1,", false, {}},
    };
    for (const Case& c : cases) {
        Servers servers;
        EXPECT_EQ(ParseNameServerValue(c.value, servers), c.valid) << c.value;
        if (c.valid) {
            EXPECT_EQ(servers, c.servers) << c.value;
        }
    }
}

}  // namespace
