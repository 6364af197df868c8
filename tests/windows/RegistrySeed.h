#pragma once
// Keys the registry tests create and remove themselves, under HKEY_LOCAL_MACHINE; the program's
// interface has no call that creates a key.

#include <string>

namespace windows_test {

bool CreateLocalMachineKey(const std::string& path);
void DeleteLocalMachineTree(const std::string& path);

}  // namespace windows_test
