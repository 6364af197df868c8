#pragma once
// Recorded drawing as short lines, so a test can state a whole drawing sequence as a table.

#include <cstdio>
#include <string>
#include <vector>

#include "fakes/RecordingDeviceContext.h"

namespace controls_test {

inline std::string Describe(const fakes::DrawOp& op) {
    char line[160];
    const win::Rect& r = op.rect;
    switch (op.kind) {
        case fakes::DrawOp::FillSolidRect:
            std::snprintf(line, sizeof line, "fill %d,%d,%d,%d %06X", r.left, r.top, r.right, r.bottom,
                          op.color);
            break;
        case fakes::DrawOp::FrameRect:
            std::snprintf(line, sizeof line, "frame %d,%d,%d,%d %06X", r.left, r.top, r.right, r.bottom,
                          op.color);
            break;
        case fakes::DrawOp::DrawEdge:
            std::snprintf(line, sizeof line, "edge %d,%d,%d,%d %X %X", r.left, r.top, r.right, r.bottom, op.x,
                          op.flags);
            break;
        case fakes::DrawOp::DrawIcon:
            std::snprintf(line, sizeof line, "icon %d,%d", op.x, op.y);
            break;
        case fakes::DrawOp::DrawIconEx:
            std::snprintf(line, sizeof line, "iconex %d,%d %dx%d", op.x, op.y, op.cx, op.cy);
            break;
        case fakes::DrawOp::DrawText:
            std::snprintf(line, sizeof line, "text '%s' %d,%d,%d,%d %X in %06X", op.text.c_str(), r.left,
                          r.top, r.right, r.bottom, op.flags, op.color);
            break;
        case fakes::DrawOp::SetTextColor:
            std::snprintf(line, sizeof line, "textcolor %06X", op.color);
            break;
        case fakes::DrawOp::SetBkColor:
            std::snprintf(line, sizeof line, "bkcolor %06X", op.color);
            break;
        case fakes::DrawOp::SetBkMode:
            std::snprintf(line, sizeof line, "bkmode %u", op.flags);
            break;
        case fakes::DrawOp::SelectFont:
            std::snprintf(line, sizeof line, "font");
            break;
        case fakes::DrawOp::DrawLine:
            std::snprintf(line, sizeof line, "line %d,%d-%d,%d %06X", r.left, r.top, r.right, r.bottom,
                          op.color);
            break;
    }
    return line;
}

inline std::vector<std::string> Describe(const fakes::RecordingDeviceContext& dc) {
    std::vector<std::string> lines;
    for (const auto& op : dc.ops)
        lines.push_back(Describe(op));
    return lines;
}

}  // namespace controls_test
