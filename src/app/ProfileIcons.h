#pragma once
// The five profile icons as the profile list shows them: loaded once each, on first use, shared by
// every row that shows them and destroyed with the dialog. The list itself never destroys an icon.

#include <array>

#include "platform/window/WindowHost.h"
#include "profiles/ProfileLine.h"

namespace app {

class ProfileIcons {
  public:
    explicit ProfileIcons(win::WindowHost& host) : host_(host) {}
    ProfileIcons(const ProfileIcons&) = delete;
    ProfileIcons& operator=(const ProfileIcons&) = delete;
    ~ProfileIcons();

    // The 32x32 icon of profile icon number n, or null when n names no icon (outside 0 to 4) or the
    // icon cannot be loaded.
    win::HICON Get(int iconNumber);

  private:
    win::WindowHost& host_;
    std::array<win::HICON, profiles::kIconCount> icons_{};
};

}  // namespace app
