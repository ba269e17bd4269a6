#include "app/drawn_icons.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>

namespace hostlore {

namespace {

// Every drawing fills a box of this many units.
constexpr qreal kBox = 16;
constexpr qreal kLine = 1.6;

QPainterPath Polyline(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.moveTo(*points.begin());
    for (auto point = points.begin() + 1; point != points.end(); ++point) {
        path.lineTo(*point);
    }
    return path;
}

QPainterPath Arrow(qreal fromX, qreal toX) {
    const qreal head = toX > fromX ? -4.5 : 4.5;
    QPainterPath path = Polyline({{fromX, 8}, {toX, 8}});
    path.addPath(Polyline({{toX + head, 3.5}, {toX, 8}, {toX + head, 12.5}}));
    return path;
}

void DrawLines(QPainter& painter, DrawnIcon kind) {
    switch (kind) {
        case DrawnIcon::Back:
            painter.drawPath(Arrow(13, 3));
            break;
        case DrawnIcon::Forward:
            painter.drawPath(Arrow(3, 13));
            break;
        case DrawnIcon::Halt:
            painter.drawLine(QPointF(4, 4), QPointF(12, 12));
            painter.drawLine(QPointF(12, 4), QPointF(4, 12));
            break;
        case DrawnIcon::Reload: {
            QPainterPath circle;
            const QRectF round(3, 3, 10, 10);
            circle.arcMoveTo(round, 90);
            circle.arcTo(round, 90, 270);
            painter.drawPath(circle);
            painter.setBrush(painter.pen().color());
            painter.drawPolygon(QPolygonF({{10.5, 8.5}, {15.5, 8.5}, {13, 5}}));
            break;
        }
        case DrawnIcon::BrowserUrl:
            painter.drawRoundedRect(QRectF(1.5, 2.5, 13, 11), 1.5, 1.5);
            painter.drawLine(QPointF(1.5, 5.5), QPointF(14.5, 5.5));
            painter.drawPath(Polyline({{5.5, 9}, {8, 11.5}, {10.5, 9}}));
            painter.drawLine(QPointF(8, 7.5), QPointF(8, 11.5));
            break;
        case DrawnIcon::PageInfo:
            painter.drawEllipse(QPointF(8, 8), 6.5, 6.5);
            painter.drawLine(QPointF(8, 7.5), QPointF(8, 11.5));
            painter.drawPoint(QPointF(8, 4.8));
            break;
        case DrawnIcon::Computer:
            painter.drawRoundedRect(QRectF(1.5, 2.5, 13, 8.5), 1, 1);
            painter.drawLine(QPointF(8, 11), QPointF(8, 13.5));
            painter.drawLine(QPointF(4.5, 13.5), QPointF(11.5, 13.5));
            break;
        case DrawnIcon::Go:
        case DrawnIcon::Stop:
            break;
    }
}

void DrawFilled(QPainter& painter, DrawnIcon kind) {
    painter.setBrush(painter.pen().color());
    if (kind == DrawnIcon::Go) {
        painter.drawPolygon(QPolygonF({{4, 2.5}, {13.5, 8}, {4, 13.5}}));
    } else {
        painter.drawRoundedRect(QRectF(3.5, 3.5, 9, 9), 1, 1);
    }
}

class DrawnIconEngine : public QIconEngine {
  public:
    explicit DrawnIconEngine(DrawnIcon kind) : kind_(kind) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State /*state*/) override {
        // Read at every paint: a new palette shows at the next repaint.
        const QPalette::ColorGroup group =
            mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Active;
        const QPalette::ColorRole role =
            mode == QIcon::Selected ? QPalette::HighlightedText : QPalette::WindowText;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / kBox, rect.height() / kBox);
        painter->setPen(QPen(QGuiApplication::palette().color(group, role), kLine, Qt::SolidLine,
                             Qt::RoundCap, Qt::RoundJoin));
        painter->setBrush(Qt::NoBrush);
        if (kind_ == DrawnIcon::Go || kind_ == DrawnIcon::Stop) {
            DrawFilled(*painter, kind_);
        } else {
            DrawLines(*painter, kind_);
        }
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        // The base class leaves the pixmap's pixels as they come.
        QPixmap drawn(size);
        drawn.fill(Qt::transparent);
        QPainter painter(&drawn);
        paint(&painter, QRect(QPoint(), size), mode, state);
        return drawn;
    }

    QIconEngine* clone() const override { return new DrawnIconEngine(kind_); }

  private:
    DrawnIcon kind_;
};

}  // namespace

QIcon MakeDrawnIcon(DrawnIcon kind) {
    return QIcon(new DrawnIconEngine(kind));
}

}  // namespace hostlore
