#pragma once
// What the program's icon and cursor handles hold in the Win32 home: the native handle, owned by the
// window host that loaded it.

struct HICON__;

namespace win {

struct IconObject {
    HICON__* native = nullptr;
};

struct CursorObject {
    HICON__* native = nullptr;  // an HCURSOR is an HICON
};

}  // namespace win
