#pragma once
// A static label made into a web-style link: its text turns from the normal to the hover colour while
// the pointer is over it, the pointer becomes a hand, and a press opens the target with the shell.
// The label paints itself; the link only chooses font, colour and background in the colour request.

#include <optional>
#include <string>

#include "platform/shell/Shell.h"
#include "platform/window/CWnd.h"

namespace controls {

class CHyperLinker : public win::CWnd {
  public:
    // The shell opens the targets; owner is the dialog whose window owns what the shell shows.
    CHyperLinker(win::Shell& shell, const win::CWnd& owner) : shell_(shell), owner_(owner) {}

    // Nothing is redrawn: the dialog sets its links before the labels are first painted.
    void SetLink(std::string url, win::COLORREF normalColor, win::COLORREF hoverColor);
    // False, after telling the user, when the shell cannot open the target.
    bool OpenLink();

    void OnMouseMove(win::UINT flags, win::Point point) override;
    void OnLButtonDown(win::UINT flags, win::Point point) override;
    bool OnSetCursor(win::UINT hitTest, win::UINT message) override;
    win::HBRUSH CtlColor(win::DeviceContext& dc, win::UINT ctlType) override;

  protected:
    void PreSubclassWindow() override;

  private:
    void AddNotifyStyle();

    win::Shell& shell_;
    const win::CWnd& owner_;
    // Black until SetLink: a link shown before the dialog sets it would at least be readable.
    win::COLORREF normalColor = 0;
    win::COLORREF hoverColor = 0;
    int hovering = 0;
    std::string url;
    std::optional<win::LogFont> linkFont;  // copied from the label's font on the first colour request
};

}  // namespace controls
