#pragma once
// The network adapter class key as a live, read-only view of the kernel's interfaces:
//
//   {4d36e972-...}\0000              DriverDesc = "Intel Corporation 82574L Gigabit Network Connection"
//                                    NetCfgInstanceID = "enp0s3"
//   {4d36e972-...}\0000\Ndi\Interfaces  LowerRange = "ethernet"
//
// one numbered subkey per interface in interface index order. DriverDesc is the model name from the udev
// database, else the driver's name, else the interface name; a second adapter of the same model reads
// "... #2", a third "... #3". LowerRange is "ethernet" for the Ethernet-type
// links a user gives an address to (physical NICs, veth, macvlan, bridges, bonds), "nolower" for the other
// Ethernet-type links (ports of a bridge or bond, ifb, tap, dummy, ...), "wlan" for wireless links,
// "loopback" for lo and "tunnel" for links without Ethernet framing (tun, sit, gre, ...). The program
// offers the "ethernet" ones only.

#include <memory>
#include <string>

#include "platform/netlink/linux/Netlink.h"
#include "platform/registry/RegistryProvider.h"

namespace platform_linux {

// Where the links come from: the kernel (one rtnetlink link dump per listing) in the program, a table in
// tests.
class LinkSource {
  public:
    virtual ~LinkSource() = default;
    // Every link, in any order; empty when the kernel cannot be asked.
    virtual std::vector<netlink::Link> Links() = 0;
    // The index of the named link now; 0 when there is none.
    virtual int IndexOf(const std::string& name) = 0;
};

// The links of the network namespace the process is in when this is called.
std::unique_ptr<LinkSource> MakeKernelLinkSource();

class AdapterClassProvider : public winreg::RegistryProvider {
  public:
    // sysfsRoot: the folder holding class/net ("/sys"), which tells wireless links and those with a device
    // apart; udevRoot: the folder holding data/n<ifindex>.
    AdapterClassProvider(std::unique_ptr<LinkSource> links, const std::string& sysfsRoot,
                         std::string udevRoot);

    win::LONG OpenKey(std::string_view path, win::REGSAM access) override;
    win::LONG ListSubKeys(std::string_view path, std::vector<std::string>& names) override;
    win::LONG QueryValue(std::string_view path, std::string_view name, winreg::RegistryValue& value) override;
    win::LONG SetValue(std::string_view path, std::string_view name,
                       const winreg::RegistryValue& value) override;
    win::LONG DeleteValue(std::string_view path, std::string_view name) override;

  private:
    // A link as the last listing saw it, with the values its keys hold.
    struct Listing {
        netlink::Link link;
        std::string lowerRange;
        std::string description;
    };

    std::string LowerRangeOf(const netlink::Link& link) const;
    std::string ModelNameOf(const netlink::Link& interface) const;
    void DescribeListed();
    // The interfaces as the last enumeration of the class key listed them, in index order, with what
    // their keys hold. Subkey "0003" keeps naming the interface the walk saw as 0003, and a walk asks the
    // kernel and reads each link's files once instead of once per value.
    const std::vector<Listing>& Listed(bool refresh);
    const Listing* InterfaceAt(std::string_view subKey, bool askKernel);

    std::unique_ptr<LinkSource> links_;
    std::vector<Listing> listed_;
    bool haveListed_ = false;
    std::string netDir_;
    std::string udevRoot_;
};

}  // namespace platform_linux
