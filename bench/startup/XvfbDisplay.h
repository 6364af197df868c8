#pragma once
// A virtual X server of the benchmark's own, on the first free display number, ended with the object.

#include <sys/types.h>

#include <string>

namespace bench {

class XvfbDisplay {
  public:
    XvfbDisplay();
    ~XvfbDisplay();
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    // Empty when no server could be started (Xvfb is missing, or did not answer in time).
    const std::string& Name() const { return name_; }

  private:
    pid_t server_ = -1;
    std::string name_;
};

}  // namespace bench
