#pragma once
// Runs a test inside a network namespace of its own, with a sysfs mounted for that namespace so the
// adapter class key sees only the namespace's links. The test process enters the namespace itself
// (it is single-threaded) and goes back to the original namespaces afterwards, which removes every link
// the test made.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "support/TempDir.h"

class NetworkNamespace : public ::testing::Test {
  protected:
    void SetUp() override {
        if (::geteuid() != 0)
            GTEST_SKIP() << "needs root to create a network namespace";
        if (std::system("ip -V >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "iproute2 (ip) is not installed";
        originalNet_ = ::open("/proc/self/ns/net", O_RDONLY | O_CLOEXEC);
        originalMnt_ = ::open("/proc/self/ns/mnt", O_RDONLY | O_CLOEXEC);
        if (::unshare(CLONE_NEWNET | CLONE_NEWNS) != 0) {
            GTEST_SKIP() << "network namespaces refused: " << std::strerror(errno);
        }
        entered_ = true;
        // Our own sysfs must not propagate back to the host's mount table.
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
        std::filesystem::create_directories(dir.path / "sys");
        if (::mount("sysfs", (dir / "sys").c_str(), "sysfs", 0, nullptr) != 0) {
            GTEST_SKIP() << "cannot mount sysfs for the namespace: " << std::strerror(errno);
        }
        sysfsMounted_ = true;
        dir.Write("resolv.conf", "nameserver 10.9.9.9\n");
        ::setenv("OSTRELLE_SYSFS_ROOT", (dir / "sys").c_str(), 1);
        ::setenv("OSTRELLE_UDEV_ROOT", (dir / "udev").c_str(), 1);
        ::setenv("OSTRELLE_HIVE_PATH", (dir / "hive.sqlite").c_str(), 1);
        ::setenv("OSTRELLE_RESOLV_CONF", (dir / "resolv.conf").c_str(), 1);
        Ip("link set lo up");
    }

    void TearDown() override {
        if (sysfsMounted_)
            ::umount2((dir / "sys").c_str(), MNT_DETACH);
        if (entered_) {
            ::setns(originalNet_, CLONE_NEWNET);
            ::setns(originalMnt_, CLONE_NEWNS);
        }
        if (originalNet_ >= 0)
            ::close(originalNet_);
        if (originalMnt_ >= 0)
            ::close(originalMnt_);
        for (const char* name :
             {"OSTRELLE_SYSFS_ROOT", "OSTRELLE_UDEV_ROOT", "OSTRELLE_HIVE_PATH", "OSTRELLE_RESOLV_CONF"}) {
            ::unsetenv(name);
        }
    }

    // Runs "ip <arguments>" in the namespace; its standard output.
    static std::string Ip(const std::string& arguments) {
        const std::string command = "ip " + arguments + " 2>&1";
        std::string output;
        if (FILE* pipe = ::popen(command.c_str(), "r")) {
            std::array<char, 512> buffer{};
            while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr)
                output += buffer.data();
            ::pclose(pipe);
        }
        return output;
    }
    static int IfIndex(const std::string& name) { return std::atoi(Ip("-o link show dev " + name).c_str()); }

    TempDir dir;

  private:
    int originalNet_ = -1;
    int originalMnt_ = -1;
    bool entered_ = false;
    bool sysfsMounted_ = false;
};
