#include "app/ProfileIcons.h"

#include "res/Resource.h"

namespace app {

namespace {
constexpr int kListIconSize = 32;
}

ProfileIcons::~ProfileIcons() {
    for (win::HICON icon : icons_) {
        if (icon != nullptr)
            host_.DestroyIcon(icon);
    }
}

win::HICON ProfileIcons::Get(int iconNumber) {
    if (!profiles::IsProfileIcon(iconNumber))
        return nullptr;
    win::HICON& icon = icons_[static_cast<std::size_t>(iconNumber)];
    if (icon == nullptr)
        icon = host_.LoadIcon(res::IDI_PROFILE_FIRST + iconNumber, kListIconSize);
    return icon;
}

}  // namespace app
