#pragma once
// The program's folder as it ships, made for one benchmark run: the executable with its library beside
// it and a profile file of a chosen length; removed with the object.

#include <filesystem>
#include <string>

namespace bench {

// A profile file of `lines` GBK lines with CR LF ends, of the kind the program saves:
//   配置17|2|Example PCI Fast Ethernet Adapter|10.0.0.17|255.255.255.0|10.0.0.1|198.51.100.53|198.51.100.54
std::string ProfileFileText(int lines);

class ProgramFolder {
  public:
    ProgramFolder(const std::filesystem::path& program, const std::filesystem::path& library,
                  int profileLines);
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    const std::filesystem::path& Executable() const { return executable_; }
    // Where the program keeps its registry hive and autostart entries for this run, away from the
    // machine's own.
    const std::filesystem::path& Root() const { return root_; }

  private:
    std::filesystem::path root_;
    std::filesystem::path executable_;
};

}  // namespace bench
