#pragma once
// The application object: runs the main dialog modally and ends the program when it ends.

#include "app/Platform.h"

namespace app {

class CCorvaneApp {
  public:
    explicit CCorvaneApp(Platform& platform) : platform_(platform) {}
    // Returns false: the program ends without a message loop of its own.
    bool InitInstance();

  private:
    Platform& platform_;
};

}  // namespace app
