#include "RecordingDeviceContext.h"

namespace fakes {

void RecordingDeviceContext::FillSolidRect(const win::Rect& rect, win::COLORREF color) {
    ops.push_back(DrawOp(DrawOp::FillSolidRect, rect, color));
}

void RecordingDeviceContext::FrameRect(const win::Rect& rect, win::COLORREF penColor) {
    ops.push_back(DrawOp(DrawOp::FrameRect, rect, penColor));
}

void RecordingDeviceContext::DrawLine(win::Point from, win::Point to, win::COLORREF penColor) {
    ops.push_back({DrawOp::DrawLine, {from.x, from.y, to.x, to.y}, penColor});
}

void RecordingDeviceContext::DrawEdge(const win::Rect& rect, win::UINT edge, win::UINT flags) {
    DrawOp op{DrawOp::DrawEdge, rect};
    op.flags = flags;
    op.x = static_cast<int>(edge);
    ops.push_back(op);
}

void RecordingDeviceContext::DrawIcon(int x, int y, win::HICON icon) {
    DrawOp op{DrawOp::DrawIcon};
    op.x = x;
    op.y = y;
    op.icon = icon;
    ops.push_back(op);
}

void RecordingDeviceContext::DrawIconEx(int x, int y, win::HICON icon, int cx, int cy) {
    DrawOp op{DrawOp::DrawIconEx};
    op.x = x;
    op.y = y;
    op.cx = cx;
    op.cy = cy;
    op.icon = icon;
    ops.push_back(op);
}

void RecordingDeviceContext::DrawText(std::string_view gbkText, const win::Rect& rect, win::UINT format) {
    DrawOp op{DrawOp::DrawText, rect, textColor};
    op.text = std::string(gbkText);
    op.flags = format;
    ops.push_back(op);
}

win::COLORREF RecordingDeviceContext::SetTextColor(win::COLORREF color) {
    ops.push_back({DrawOp::SetTextColor, {}, color});
    const win::COLORREF old = textColor;
    textColor = color;
    return old;
}

win::COLORREF RecordingDeviceContext::SetBkColor(win::COLORREF color) {
    ops.push_back({DrawOp::SetBkColor, {}, color});
    const win::COLORREF old = bkColor;
    bkColor = color;
    return old;
}

int RecordingDeviceContext::SetBkMode(int mode) {
    DrawOp op{DrawOp::SetBkMode};
    op.flags = static_cast<win::UINT>(mode);
    ops.push_back(op);
    const int old = bkMode;
    bkMode = mode;
    return old;
}

void RecordingDeviceContext::SelectFont(const win::LogFont& font) {
    DrawOp op{DrawOp::SelectFont};
    op.font = font;
    ops.push_back(op);
}

std::vector<DrawOp> RecordingDeviceContext::OfKind(DrawOp::Kind kind) const {
    std::vector<DrawOp> result;
    for (const auto& op : ops) {
        if (op.kind == kind)
            result.push_back(op);
    }
    return result;
}

}  // namespace fakes
