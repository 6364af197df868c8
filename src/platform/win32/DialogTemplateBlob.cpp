#include "DialogTemplateBlob.h"

#include "WideText.h"
#include "platform/window/Styles.h"

namespace win32 {

namespace {

// DLGTEMPLATEEX starts with dlgVer 1 and signature 0xFFFF; a name given by number is 0xFFFF and the
// number; FONT's charset 1 is DEFAULT_CHARSET, as a resource compiler writes it.
constexpr std::uint16_t kOrdinal = 0xFFFF;
constexpr std::uint16_t kFontWeight = 400;
constexpr std::uint16_t kDefaultCharset = 1;

class Writer {
  public:
    void Word(std::uint32_t value) { words_.push_back(static_cast<std::uint16_t>(value & 0xFFFF)); }
    void Dword(std::uint32_t value) {
        Word(value);
        Word(value >> 16);
    }
    void Text(const std::wstring& text) {
        for (wchar_t c : text)
            Word(static_cast<std::uint16_t>(c));
        Word(0);
    }
    // Each control starts on a DWORD boundary.
    void AlignToDword() {
        if (words_.size() % 2 != 0)
            Word(0);
    }
    std::vector<std::uint16_t> Take() { return std::move(words_); }

  private:
    std::vector<std::uint16_t> words_;
};

void WriteControl(Writer& out, const win::ControlTemplate& control) {
    out.AlignToDword();
    out.Dword(0);  // help id
    out.Dword(control.exStyle);
    out.Dword(control.style);
    out.Word(static_cast<std::uint32_t>(control.x));
    out.Word(static_cast<std::uint32_t>(control.y));
    out.Word(static_cast<std::uint32_t>(control.cx));
    out.Word(static_cast<std::uint32_t>(control.cy));
    out.Dword(static_cast<std::uint32_t>(control.id));
    out.Text(ControlClassName(control.kind));
    if (control.kind == win::ControlKind::StaticIcon) {
        // An SS_ICON static's text is the icon's resource id, loaded by the dialog manager.
        out.Word(kOrdinal);
        out.Word(static_cast<std::uint32_t>(control.iconId));
    } else {
        out.Text(WidenGbk(control.text));
    }
    out.Word(0);  // no creation data
}

}  // namespace

const wchar_t* ControlClassName(win::ControlKind kind) {
    switch (kind) {
        case win::ControlKind::PushButton:
        case win::ControlKind::CheckBox:
        case win::ControlKind::GroupBox:
            return L"Button";
        case win::ControlKind::Static:
        case win::ControlKind::StaticIcon:
            return L"Static";
        case win::ControlKind::Edit:
            return L"Edit";
        case win::ControlKind::ListBox:
            return L"ListBox";
        case win::ControlKind::ComboBox:
            return L"ComboBox";
        case win::ControlKind::IpAddress:
            return L"SysIPAddress32";
    }
    return L"Static";
}

std::vector<std::uint16_t> BuildDialogTemplateBlob(const win::DialogTemplate& dialogTemplate) {
    const win::DialogTemplate& t = dialogTemplate;
    Writer out;
    out.Word(1);
    out.Word(kOrdinal);
    out.Dword(0);  // help id
    out.Dword(t.exStyle);
    out.Dword(t.style | win::DS_SETFONT);
    out.Word(static_cast<std::uint32_t>(t.controls.size()));
    out.Word(0);  // x, y: the dialog manager places the window
    out.Word(0);
    out.Word(static_cast<std::uint32_t>(t.cx));
    out.Word(static_cast<std::uint32_t>(t.cy));
    out.Word(0);  // no menu
    out.Word(0);  // the dialog class
    out.Text(WidenGbk(t.caption));
    out.Word(static_cast<std::uint32_t>(t.fontPointSize));
    out.Word(kFontWeight);
    out.Word(kDefaultCharset << 8);  // italic 0, then the charset byte
    out.Text(WidenGbk(t.fontFace));
    for (const auto& control : t.controls)
        WriteControl(out, control);
    return out.Take();
}

}  // namespace win32
