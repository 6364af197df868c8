#pragma once
// The DNS servers of a pending NameServer value. The program writes the preferred and the alternate
// server joined by a comma ("192.0.2.53,192.0.2.54", "192.0.2.53,", ","); Windows also separates servers
// with spaces. A blank entry and "0.0.0.0", which a blank address control reads as, name no server.

#include <string>
#include <string_view>
#include <vector>

namespace platform_linux {

// False when an entry is not an IPv4 address in dotted form; servers then holds nothing useful.
bool ParseNameServerValue(std::string_view value, std::vector<std::string>& servers);

}  // namespace platform_linux
