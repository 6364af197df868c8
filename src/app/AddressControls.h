#pragma once
// The five address controls of the main dialog, in the order of the fields of an IPv4 configuration,
// each with the field it shows.

#include <string>

#include "adapters/Ipv4Settings.h"
#include "res/Resource.h"

namespace app {

struct AddressControl {
    int controlId;
    std::string adapters::Ipv4Settings::*field;
};

inline constexpr AddressControl kAddressControls[] = {
    {res::IDC_IP_ADDRESS, &adapters::Ipv4Settings::ipAddress},
    {res::IDC_SUBNET_MASK, &adapters::Ipv4Settings::subnetMask},
    {res::IDC_DEFAULT_GATEWAY, &adapters::Ipv4Settings::defaultGateway},
    {res::IDC_PREFERRED_DNS, &adapters::Ipv4Settings::preferredDns},
    {res::IDC_ALTERNATE_DNS, &adapters::Ipv4Settings::alternateDns},
};

}  // namespace app
