#pragma once
// An adapter's static TCP/IP values in its interface key: IPAddress, SubnetMask and DefaultGateway as
// multi-strings of one element, NameServer as "preferred,alternate".

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "adapters/AdapterServices.h"
#include "adapters/Ipv4Settings.h"

namespace adapters {

// "SYSTEM\CurrentControlSet\Services\Tcpip\Parameters\Interfaces\" + instanceId.
std::string InterfaceKeyPath(std::string_view instanceId);

// Fills settings from the adapter's interface key; a value that cannot be read leaves its field as it
// was. False when the key cannot be opened.
bool ReadAdapterSettings(win::Registry& registry, Ipv4Settings& settings, std::string_view instanceId);

// NameServer "a,b,c": the text before the first comma is the preferred server, the rest the alternate.
void SplitNameServer(std::string_view nameServer, std::string& preferredDns, std::string& alternateDns);

// The bytes written for one address: at most 98 characters of text, then two NULs.
std::vector<std::uint8_t> MultiStringValue(std::string_view text);
// The bytes written for NameServer: "%s,%s" of the two (cut) servers, then one NUL.
std::vector<std::uint8_t> NameServerValue(std::string_view preferredDns, std::string_view alternateDns);

// Stores the five addresses in the adapter's interface key. When the key cannot be opened for writing
// (no such adapter, no right, or an adapter without an instance id) the application message box says so
// and nothing is written. Writes that fail once the key is open go unreported.
bool WriteAdapterSettings(const AdapterServices& services, std::string_view instanceId,
                          const Ipv4Settings& settings);

}  // namespace adapters
