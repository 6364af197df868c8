#pragma once
// Qt's key and mouse events in the terms of the window messages: virtual-key codes and MK_* flags.

#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/window/WinTypes.h"

namespace qtwin {

constexpr win::UINT kVkTab = 0x09;
constexpr win::UINT MK_LBUTTON = 0x1;
constexpr win::UINT MK_RBUTTON = 0x2;
constexpr win::UINT MK_SHIFT = 0x4;
constexpr win::UINT MK_CONTROL = 0x8;
constexpr win::UINT HTCLIENT = 1;
constexpr win::UINT WM_MOUSEMOVE = 0x0200;
constexpr win::UINT WM_LBUTTONDOWN = 0x0201;

// The virtual-key code of a key press; 0 for keys the program has no code for.
win::UINT VirtualKeyOf(const QKeyEvent* event);
win::UINT MouseKeyFlags(const QMouseEvent* event);

}  // namespace qtwin
