#include "platform/dhcp/linux/NameServerList.h"

#include <arpa/inet.h>

namespace platform_linux {

bool ParseNameServerValue(std::string_view value, std::vector<std::string>& servers) {
    servers.clear();
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = value.find_first_of(", ", start);
        if (end == std::string_view::npos)
            end = value.size();
        const std::string entry(value.substr(start, end - start));
        start = end + 1;
        if (entry.empty() || entry == "0.0.0.0")
            continue;
        in_addr parsed{};
        if (::inet_pton(AF_INET, entry.c_str(), &parsed) != 1)
            return false;
        servers.push_back(entry);
    }
    return true;
}

}  // namespace platform_linux
