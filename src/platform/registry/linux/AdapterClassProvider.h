#pragma once
// The network adapter class key as a live, read-only view of the kernel's interfaces in sysfs:
//
//   {4d36e972-...}\0000              DriverDesc = "Intel Corporation 82574L Gigabit Network Connection"
//                                    NetCfgInstanceID = "enp0s3"
//   {4d36e972-...}\0000\Ndi\Interfaces  LowerRange = "ethernet"
//
// one numbered subkey per interface in interface index order. DriverDesc is the model name from the udev
// database, else the driver's name, else the interface name. LowerRange is "ethernet" for wired
// Ethernet-type links (physical NICs, veth, tap, macvlan, bridges), "wlan" for wireless links,
// "loopback" for lo and "tunnel" for links without Ethernet framing (tun, sit, gre, ...).

#include <string>

#include "platform/registry/linux/RegistryProvider.h"

namespace platform_linux {

struct SysfsInterface {
    std::string name;  // the kernel's bytes
    int ifIndex = 0;
};

class AdapterClassProvider : public RegistryProvider {
  public:
    // sysfsRoot: the folder holding class/net ("/sys"); udevRoot: the folder holding data/n<ifindex>.
    AdapterClassProvider(std::string sysfsRoot, std::string udevRoot);

    win::LONG OpenKey(std::string_view path, win::REGSAM access) override;
    win::LONG ListSubKeys(std::string_view path, std::vector<std::string>& names) override;
    win::LONG QueryValue(std::string_view path, std::string_view name, RegistryValue& value) override;
    win::LONG SetValue(std::string_view path, std::string_view name, const RegistryValue& value) override;
    win::LONG DeleteValue(std::string_view path, std::string_view name) override;

    // The interfaces in index order, as the numbered subkeys present them.
    std::vector<SysfsInterface> Interfaces() const;
    std::string LowerRangeOf(const SysfsInterface& interface) const;
    std::string DescriptionOf(const SysfsInterface& interface) const;

  private:
    // The interfaces as the last enumeration of the class key listed them. Subkey "0003" keeps naming
    // the interface the walk saw as 0003, and a walk reads the folder once instead of once per value.
    const std::vector<SysfsInterface>& Listed(bool refresh);
    const SysfsInterface* InterfaceAt(std::string_view subKey);

    std::vector<SysfsInterface> listed_;
    bool haveListed_ = false;
    std::string netDir_;
    std::string udevRoot_;
};

}  // namespace platform_linux
