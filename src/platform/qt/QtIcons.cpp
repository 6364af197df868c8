#include "QtIcons.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace qtwin {

namespace {

// Resource ids of the cursors and their hot spots within the 32 x 32 picture.
struct CursorResource {
    int resourceId;
    int hotX;
    int hotY;
};
constexpr CursorResource kCursors[] = {{144, 7, 7}};

QPixmap RenderSvg(const QString& path, int size) {
    if (!QFile::exists(path))
        return {};
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return {};
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, size, size));
    return pixmap;
}

}  // namespace

QPixmap RenderIcon(int resourceId, int size) {
    return RenderSvg(QStringLiteral(":/ostrelle/icons/icon-%1.svg").arg(resourceId),
                     size > 0 ? size : kIconSize);
}

bool RenderCursor(int resourceId, QCursor& cursor) {
    for (const auto& resource : kCursors) {
        if (resource.resourceId != resourceId)
            continue;
        const QPixmap pixmap =
            RenderSvg(QStringLiteral(":/ostrelle/icons/cursor-%1.svg").arg(resourceId), kIconSize);
        if (pixmap.isNull())
            return false;
        cursor = QCursor(pixmap, resource.hotX, resource.hotY);
        return true;
    }
    return false;
}

}  // namespace qtwin
