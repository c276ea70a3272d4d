#include "window_icon.h"

#include <QFile>
#include <QIconEngine>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>

namespace {

// The sizes the X11 platform asks a scalable window icon for, all rendered at build time.
constexpr int kReadySizes[] = {16, 32, 64, 128};

// Ready renderings for the normal icon at their sizes, each decoded when first asked
// for; the SVG, loaded on first use, for everything else.
class WindowIconEngine final : public QIconEngine {
public:
    explicit WindowIconEngine(const QString& svgPath) : svgPath_(svgPath)
    {
        QString base = svgPath;
        if (base.endsWith(QStringLiteral(".svg")))
            base.chop(4);
        for (const int extent : kReadySizes) {
            const QString png = QStringLiteral("%1-%2.png").arg(base).arg(extent);
            if (QFile::exists(png))
                ready_.append({QSize(extent, extent), png, QPixmap()});
        }
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        QList<QSize> sizes;
        if (isReady(mode, state)) {
            for (const Rendering& r : ready_)
                sizes.append(r.size);
        }
        return sizes;
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        if (isReady(mode, state)) {
            for (Rendering& r : ready_) {
                if (r.size != size)
                    continue;
                if (r.pixmap.isNull())
                    r.pixmap = decoded(r.path);
                if (!r.pixmap.isNull())
                    return r.pixmap;
            }
        }
        return svg().pixmap(size, 1.0, mode, state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return pixmap(size, mode, state).size();
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        // As the SVG engine paints: a pixmap at the device's pixel density.
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
    }

    bool isNull() override { return ready_.isEmpty() && svg().isNull(); }

    QIconEngine* clone() const override { return new WindowIconEngine(*this); }

private:
    struct Rendering {
        QSize size;
        QString path;
        QPixmap pixmap;
    };

    // Shared by every icon made from the same SVG (the application's and the main
    // window's). Keyed by the path alone: QPixmap::load's key holds the file's time,
    // which costs a time zone lookup.
    static QPixmap decoded(const QString& path)
    {
        QPixmap pixmap;
        if (!QPixmapCache::find(path, &pixmap)) {
            pixmap = QPixmap::fromImage(QImage(path, "PNG"));
            QPixmapCache::insert(path, pixmap);
        }
        return pixmap;
    }

    static bool isReady(QIcon::Mode mode, QIcon::State state)
    {
        return mode == QIcon::Normal && state == QIcon::Off;
    }

    const QIcon& svg()
    {
        if (!svgLoaded_) {
            svg_ = QIcon(svgPath_);
            svgLoaded_ = true;
        }
        return svg_;
    }

    QString svgPath_;
    QList<Rendering> ready_;
    QIcon svg_;
    bool svgLoaded_ = false;
};

} // namespace

QIcon loadWindowIcon(const QString& svgPath) { return QIcon(new WindowIconEngine(svgPath)); }
