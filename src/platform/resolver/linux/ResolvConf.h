#pragma once
// /etc/resolv.conf, where no resolver daemon serves this network namespace: the C library reads its
// "nameserver" lines in order, and the rest of the file is the administrator's.
//
//   # written by hand
//   search example.net
//   nameserver 192.0.2.53
//   nameserver 2001:db8::35
//   options edns0

#include <string>
#include <vector>

namespace platform_linux {

// The IPv4 "nameserver" addresses of a resolv.conf text, in file order.
std::vector<std::string> ParseNameServers(const std::string& resolvConf);

// The text with its IPv4 "nameserver" lines replaced by servers, in order, where the first nameserver
// line stood (at the end when there was none). Every other line is kept as it was, IPv6 servers too:
// they are not part of an adapter's IPv4 configuration.
std::string ReplaceNameServers(const std::string& resolvConf, const std::vector<std::string>& servers);

// 0 or an errno value. A missing file reads as an empty text.
int ReadResolvConf(const std::string& path, std::string& text);

// Replaces the file's content so that a crash never leaves it empty or half-written: a new file
// renamed over it. Where the path is a mount point (containers, "ip netns exec" with
// /etc/netns/NAME/resolv.conf) the rename fails with EBUSY and the file is written in place. A symlink
// is followed, so the file it names is replaced and the link stays. 0 or an errno value.
int WriteResolvConf(const std::string& path, const std::string& text);

}  // namespace platform_linux
