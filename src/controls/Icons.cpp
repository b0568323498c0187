#include "controls/Icons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <functional>
#include <numbers>

namespace stallmark {

ImageList::ImageList(int width, int height, std::vector<QImage> images)
    : width_(width), height_(height), images_(std::move(images)) {}

QImage ImageList::Image(int index) const {
    if (index < 0 || index >= Count()) return QImage();
    return images_[static_cast<size_t>(index)];
}

QPixmap ImageList::Pixmap(int index) const {
    const QImage image = Image(index);
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

QIcon ImageList::Icon(int index) const {
    const QPixmap pixmap = Pixmap(index);
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

QImage MakeDisabled(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    QImage out(image.size(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    auto dark = [&](int x, int y) {
        const QRgb c = image.pixel(x, y);
        return qAlpha(c) > 96 && qGray(c) < 200;
    };
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (dark(x, y) && x + 1 < out.width() && y + 1 < out.height())
                out.setPixel(x + 1, y + 1, qRgba(255, 255, 255, 255));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (dark(x, y)) out.setPixel(x, y, qRgba(128, 128, 128, 255));
    return out;
}

namespace {

constexpr double kPi = std::numbers::pi;

// --- drawing helpers (16 x 16, antialiased, pixel centres at .5) ---

const QColor kOutline(48, 48, 48);
const QColor kBlue(47, 111, 208);
const QColor kBlueDark(29, 63, 122);
const QColor kBlueLight(143, 184, 240);
const QColor kGreen(46, 158, 62);
const QColor kGreenDark(22, 96, 32);
const QColor kGreenLight(127, 211, 138);
const QColor kRed(208, 40, 40);
const QColor kRedDark(128, 20, 20);
const QColor kGold(232, 184, 32);
const QColor kGoldDark(150, 110, 16);
const QColor kPaper(252, 252, 246);
const QColor kGrey(128, 128, 128);
const QColor kBrown(140, 90, 45);
const QColor kBrownDark(90, 55, 25);

QImage Draw(const std::function<void(QPainter&)>& paint, int size = 16) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QPen Pen(const QColor& color, qreal width) { return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

// A stroke with a darker rim.
void Stroke(QPainter& p, const QPainterPath& path, const QColor& fill, const QColor& rim, qreal width) {
    p.setBrush(Qt::NoBrush);
    p.setPen(Pen(rim, width + 1.4));
    p.drawPath(path);
    p.setPen(Pen(fill, width));
    p.drawPath(path);
}

void Shape(QPainter& p, const QPainterPath& path, const QBrush& fill, const QColor& rim, qreal width = 1.0) {
    p.setPen(rim.isValid() ? Pen(rim, width) : QPen(Qt::NoPen));
    p.setBrush(fill);
    p.drawPath(path);
}

QPainterPath Poly(std::initializer_list<QPointF> points) {
    QPainterPath path;
    bool first = true;
    for (const QPointF& pt : points) {
        if (first)
            path.moveTo(pt);
        else
            path.lineTo(pt);
        first = false;
    }
    path.closeSubpath();
    return path;
}

QPainterPath Line(QPointF a, QPointF b) {
    QPainterPath path(a);
    path.lineTo(b);
    return path;
}

QPainterPath Circle(QPointF c, qreal r) {
    QPainterPath path;
    path.addEllipse(c, r, r);
    return path;
}

QPainterPath Rect(qreal x1, qreal y1, qreal x2, qreal y2, qreal radius = 0) {
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)), radius, radius);
    return path;
}

QBrush Vertical(const QColor& top, const QColor& bottom, qreal y1 = 0, qreal y2 = 16) {
    QLinearGradient g(0, y1, 0, y2);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

QBrush Ball(QPointF c, qreal r, const QColor& light, const QColor& dark) {
    QRadialGradient g(c + QPointF(-r * 0.35, -r * 0.4), r * 1.3);
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    return g;
}

// A filled arrow from `from` to `to`.
void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& fill, const QColor& rim, qreal shaft, qreal head) {
    const QPointF d = to - from;
    const qreal len = std::hypot(d.x(), d.y());
    if (len <= 0) return;
    const QPointF u = d / len;
    const QPointF n(-u.y(), u.x());
    const QPointF base = to - u * head;
    const qreal s = shaft / 2;
    Shape(p,
          Poly({from + n * s, base + n * s, base + n * head * 0.85, to, base - n * head * 0.85, base - n * s,
                from - n * s}),
          fill, rim, 1.0);
}

void Page(QPainter& p, qreal x1, qreal y1, qreal x2, qreal y2, bool fold = false) {
    if (fold) {
        Shape(p, Poly({{x1, y1}, {x2 - 3, y1}, {x2, y1 + 3}, {x2, y2}, {x1, y2}}), kPaper, kGrey);
        Shape(p, Poly({{x2 - 3, y1}, {x2 - 3, y1 + 3}, {x2, y1 + 3}}), QColor(220, 220, 210), kGrey);
    } else {
        Shape(p, Rect(x1, y1, x2, y2), kPaper, kGrey);
    }
}

void ListLines(QPainter& p, qreal x1, qreal x2, std::initializer_list<qreal> ys) {
    for (qreal y : ys) {
        p.setPen(Pen(kBlue, 1.2));
        p.drawLine(QPointF(x1, y), QPointF(x1 + 0.3, y));
        p.setPen(Pen(kBlueDark, 1.0));
        p.drawLine(QPointF(x1 + 2, y), QPointF(x2, y));
    }
}

void Star(QPainter& p, QPointF c, qreal r) {
    QPainterPath star;
    for (int i = 0; i < 8; ++i) {
        const qreal a = i * kPi / 4 - kPi / 2;
        const qreal rr = i % 2 == 0 ? r : r * 0.38;
        const QPointF pt = c + QPointF(std::cos(a) * rr, std::sin(a) * rr);
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    Shape(p, star, QColor(255, 214, 40), QColor(170, 120, 0), 0.8);
}

void Pencil(QPainter& p, QPointF tip, QPointF end) {
    const QPointF d = end - tip;
    const qreal len = std::hypot(d.x(), d.y());
    const QPointF u = d / len;
    const QPointF n(-u.y(), u.x());
    const qreal w = 1.9;
    const QPointF cone = tip + u * 3.2;
    const QPointF band = end - u * 2.4;
    Shape(p, Poly({cone + n * w, band + n * w, band - n * w, cone - n * w}), QColor(240, 192, 48), kBrownDark, 0.9);
    Shape(p, Poly({band + n * w, end + n * w, end - n * w, band - n * w}), QColor(240, 140, 160), kBrownDark, 0.9);
    Shape(p, Poly({tip, cone + n * w, cone - n * w}), QColor(236, 200, 150), kBrownDark, 0.9);
    Shape(p, Circle(tip + u * 0.7, 0.8), kOutline, QColor());
}

QImage Ingot(const QColor& base) {
    return Draw([&](QPainter& p) {
        const QColor top = base.lighter(135);
        const QColor rim = base.darker(190);
        Shape(p, Poly({{1.5, 13.5}, {3.5, 7.5}, {12.5, 7.5}, {14.5, 13.5}}), Vertical(base, base.darker(125), 7, 14),
              rim);
        Shape(p, Poly({{3.5, 7.5}, {5.0, 3.5}, {11.0, 3.5}, {12.5, 7.5}}), Vertical(top.lighter(110), top, 3, 8), rim);
        p.setPen(Pen(QColor(255, 255, 255, 170), 0.9));
        p.drawLine(QPointF(5.8, 4.8), QPointF(9.5, 4.8));
    });
}

QImage Tick(const QColor& fill, const QColor& rim) {
    return Draw([&](QPainter& p) {
        QPainterPath tick(QPointF(3.2, 8.6));
        tick.lineTo(6.6, 12.0);
        tick.lineTo(13.0, 4.2);
        Stroke(p, tick, fill, rim, 2.4);
    });
}

QImage Cross(const QColor& fill, const QColor& rim) {
    return Draw([&](QPainter& p) {
        QPainterPath cross = Line({4, 4}, {12, 12});
        cross.addPath(Line({12, 4}, {4, 12}));
        Stroke(p, cross, fill, rim, 2.4);
    });
}

std::vector<QImage> ButtonPictures() {
    std::vector<QImage> pics(BtnImage::ImageCount);
    auto set = [&](int index, const std::function<void(QPainter&)>& paint) {
        pics[static_cast<size_t>(index)] = Draw(paint);
    };

    set(BtnImage::Save, [](QPainter& p) {
        Shape(p, Poly({{1.5, 1.5}, {12.5, 1.5}, {14.5, 3.5}, {14.5, 14.5}, {1.5, 14.5}}),
              Vertical(kBlue.lighter(115), kBlue), kBlueDark);
        Shape(p, Rect(4, 1.5, 12, 7), kPaper, kBlueDark, 0.8);
        p.setPen(Pen(kBlueLight, 0.8));
        p.drawLine(QPointF(5.5, 3.5), QPointF(10.5, 3.5));
        p.drawLine(QPointF(5.5, 5.3), QPointF(10.5, 5.3));
        Shape(p, Rect(4.5, 9.5, 11.5, 14.5), QColor(200, 204, 212), kBlueDark, 0.8);
        Shape(p, Rect(8.5, 10.5, 10, 13.5), kBlueDark, QColor());
    });
    set(BtnImage::Delete, [](QPainter& p) {
        QPainterPath x = Line({3.5, 3.5}, {12.5, 12.5});
        x.addPath(Line({12.5, 3.5}, {3.5, 12.5}));
        Stroke(p, x, kRed, kRedDark, 2.6);
    });
    set(BtnImage::Edit, [](QPainter& p) { Pencil(p, {2.2, 13.8}, {13.6, 2.4}); });
    set(BtnImage::Sold, [](QPainter& p) {
        Shape(p, Circle({6.5, 9.5}, 5.5), Ball({6.5, 9.5}, 5.5, kGold.lighter(130), kGold), kGoldDark);
        Shape(p, Circle({6.5, 9.5}, 3.4), Qt::NoBrush, kGoldDark, 0.8);
        Arrow(p, {9.5, 3.5}, {15.5, 3.5}, kGreen, kGreenDark, 2.2, 3.0);
    });
    set(BtnImage::Send, [](QPainter& p) { Arrow(p, {1.5, 8}, {15, 8}, kGreen, kGreenDark, 4.5, 6.5); });
    set(BtnImage::List, [](QPainter& p) {
        Page(p, 2.5, 1.5, 13.5, 14.5);
        ListLines(p, 4.5, 11.5, {4.5, 7, 9.5, 12});
    });
    set(BtnImage::Reset, [](QPainter& p) {
        QPainterPath arc;
        arc.arcMoveTo(QRectF(3, 3, 10, 10), 60);
        arc.arcTo(QRectF(3, 3, 10, 10), 60, 250);
        Stroke(p, arc, kBlue, kBlueDark, 2.0);
        Shape(p, Poly({{9.0, 0.8}, {13.8, 3.0}, {9.6, 6.4}}), kBlue, kBlueDark, 0.9);
    });
    set(BtnImage::Search, [](QPainter& p) {
        p.setPen(Pen(kBrownDark, 3.4));
        p.drawLine(QPointF(10, 10), QPointF(14, 14));
        Shape(p, Circle({6.5, 6.5}, 4.6), QColor(190, 220, 250, 200), kOutline, 1.5);
        p.setPen(Pen(QColor(255, 255, 255, 220), 1.0));
        p.drawArc(QRectF(4, 4, 5, 5), 100 * 16, 70 * 16);
    });
    set(BtnImage::New, [](QPainter& p) {
        Page(p, 3.5, 1.5, 13.5, 14.5, true);
        Star(p, {4.5, 4.5}, 4.2);
    });
    set(BtnImage::AutoOn, [](QPainter& p) {
        Shape(p, Circle({8, 8}, 6), Ball({8, 8}, 6, QColor(200, 255, 190), kGreen), kGreenDark);
    });
    set(BtnImage::AutoOff, [](QPainter& p) {
        Shape(p, Circle({8, 8}, 6), Ball({8, 8}, 6, QColor(200, 120, 120), QColor(110, 30, 30)), kRedDark);
    });
    set(BtnImage::Ok, [](QPainter& p) {
        QPainterPath tick(QPointF(2.8, 8.8));
        tick.lineTo(6.4, 12.4);
        tick.lineTo(13.4, 3.8);
        Stroke(p, tick, kGreen, kGreenDark, 2.8);
    });
    set(BtnImage::Cancel, [](QPainter& p) {
        Shape(p, Circle({8, 8}, 6.5), Ball({8, 8}, 6.5, QColor(250, 120, 120), kRed), kRedDark);
        QPainterPath x = Line({5.5, 5.5}, {10.5, 10.5});
        x.addPath(Line({10.5, 5.5}, {5.5, 10.5}));
        p.setPen(Pen(Qt::white, 1.9));
        p.drawPath(x);
    });
    set(BtnImage::Repeat, [](QPainter& p) {
        QPainterPath top;
        top.moveTo(2.5, 9);
        top.cubicTo(2.5, 3.5, 10, 2.5, 12, 5.5);
        Stroke(p, top, kGreen, kGreenDark, 1.8);
        Shape(p, Poly({{13.8, 2.6}, {14.2, 8.0}, {9.2, 6.6}}), kGreen, kGreenDark, 0.8);
        QPainterPath bottom;
        bottom.moveTo(13.5, 7);
        bottom.cubicTo(13.5, 12.5, 6, 13.5, 4, 10.5);
        Stroke(p, bottom, kGreen, kGreenDark, 1.8);
        Shape(p, Poly({{2.2, 13.4}, {1.8, 8.0}, {6.8, 9.4}}), kGreen, kGreenDark, 0.8);
    });
    set(BtnImage::Pause, [](QPainter& p) {
        Shape(p, Rect(3.5, 2.5, 6.5, 13.5, 0.8), Vertical(kBlueLight, kBlue), kBlueDark);
        Shape(p, Rect(9.5, 2.5, 12.5, 13.5, 0.8), Vertical(kBlueLight, kBlue), kBlueDark);
    });
    set(BtnImage::Play, [](QPainter& p) {
        Shape(p, Poly({{4, 2.2}, {13.5, 8}, {4, 13.8}}), Vertical(kGreenLight, kGreen), kGreenDark);
    });
    set(BtnImage::Stop,
        [](QPainter& p) { Shape(p, Rect(3, 3, 13, 13, 1), Vertical(QColor(245, 110, 110), kRed), kRedDark); });
    set(BtnImage::SpecialChar, [](QPainter& p) {  // a pilcrow
        QPainterPath bowl;
        bowl.moveTo(8.5, 2);
        bowl.lineTo(6.5, 2);
        bowl.cubicTo(2.5, 2, 2.5, 8.5, 6.5, 8.5);
        bowl.lineTo(8.5, 8.5);
        bowl.closeSubpath();
        Shape(p, bowl, kBlueDark, QColor());
        p.setPen(Pen(kBlueDark, 1.6));
        p.drawLine(QPointF(8.6, 2), QPointF(8.6, 14.5));
        p.drawLine(QPointF(12, 2), QPointF(12, 14.5));
        p.drawLine(QPointF(8.6, 2), QPointF(13.5, 2));
    });
    set(BtnImage::Options, [](QPainter& p) {
        QPainterPath gear;
        for (int i = 0; i < 6; ++i) {
            QTransform t;
            t.translate(8, 8);
            t.rotate(i * 60);
            gear.addPath(t.map(Rect(-1.7, -7.3, 1.7, -3)));
        }
        gear.addEllipse(QPointF(8, 8), 5.2, 5.2);
        gear = gear.simplified();
        QPainterPath hole;
        hole.addEllipse(QPointF(8, 8), 2.1, 2.1);
        Shape(p, gear.subtracted(hole), Ball({8, 8}, 7, QColor(220, 220, 225), QColor(120, 120, 130)), kOutline, 0.9);
    });
    set(BtnImage::Up, [](QPainter& p) { Arrow(p, {8, 15}, {8, 1.2}, kBlue, kBlueDark, 4.5, 6.5); });
    set(BtnImage::Down, [](QPainter& p) { Arrow(p, {8, 1}, {8, 14.8}, kBlue, kBlueDark, 4.5, 6.5); });
    set(BtnImage::Clear, [](QPainter& p) {
        QTransform t;
        t.translate(8, 8);
        t.rotate(-40);
        Shape(p, t.map(Rect(-6.5, -3, 0.5, 3, 1)), QColor(240, 140, 160), kRedDark, 0.9);
        Shape(p, t.map(Rect(0.5, -3, 6.5, 3, 1)), QColor(235, 235, 240), kBlueDark, 0.9);
        p.setPen(Pen(kGrey, 1.0));
        p.drawLine(QPointF(7, 14.5), QPointF(15, 14.5));
    });
    set(BtnImage::Add, [](QPainter& p) {
        QPainterPath plus = Rect(6.2, 2, 9.8, 14, 0.6);
        plus.addPath(Rect(2, 6.2, 14, 9.8, 0.6));
        Shape(p, plus.simplified(), Vertical(kGreenLight, kGreen), kGreenDark);
    });
    set(BtnImage::Sort, [](QPainter& p) {
        const qreal lengths[] = {3, 5, 7, 9};
        for (int i = 0; i < 4; ++i) {
            p.setPen(Pen(kBlueDark, 1.6));
            p.drawLine(QPointF(1.8, 2.5 + i * 3.5), QPointF(1.8 + lengths[i], 2.5 + i * 3.5));
        }
        Arrow(p, {13, 1.5}, {13, 14.8}, kGreen, kGreenDark, 1.8, 3.2);
    });
    set(BtnImage::EditList, [](QPainter& p) {
        Page(p, 1.5, 1.5, 11.5, 14.5);
        ListLines(p, 3.5, 9.5, {4, 6.5, 9});
        Pencil(p, {6.5, 14.5}, {15, 6});
    });
    set(BtnImage::NewLarge, [](QPainter& p) {
        Page(p, 5.5, 1.5, 14.5, 11.5);
        Page(p, 2.5, 4.5, 11.5, 14.5);
        ListLines(p, 4.5, 9.5, {8, 10.5});
        Star(p, {3.8, 3.8}, 3.6);
    });
    set(BtnImage::ListToGame, [](QPainter& p) {
        Page(p, 1.5, 1.5, 9.5, 14.5);
        ListLines(p, 3.2, 8, {4.5, 7, 9.5, 12});
        Arrow(p, {8, 8}, {15.5, 8}, kGreen, kGreenDark, 2.6, 4.4);
    });
    set(BtnImage::Timer, [](QPainter& p) {
        Shape(p, Circle({8, 8}, 6.6), kPaper, kOutline, 1.3);
        p.setPen(Pen(kGrey, 1.0));
        for (int i = 0; i < 4; ++i) {
            const qreal a = i * kPi / 2;
            p.drawLine(QPointF(8 + std::cos(a) * 5.0, 8 + std::sin(a) * 5.0),
                       QPointF(8 + std::cos(a) * 5.8, 8 + std::sin(a) * 5.8));
        }
        p.setPen(Pen(kOutline, 1.3));
        p.drawLine(QPointF(8, 8), QPointF(8, 3.8));
        p.setPen(Pen(kRed, 1.1));
        p.drawLine(QPointF(8, 8), QPointF(11.2, 9.8));
    });
    set(BtnImage::Count, [](QPainter& p) {
        p.setPen(Pen(kBlueDark, 1.6));
        p.drawLine(QPointF(6.5, 2), QPointF(5, 14));
        p.drawLine(QPointF(11.5, 2), QPointF(10, 14));
        p.drawLine(QPointF(2, 5.8), QPointF(14.5, 5.8));
        p.drawLine(QPointF(1.5, 10.4), QPointF(14, 10.4));
    });
    set(BtnImage::Quantity, [](QPainter& p) {
        auto crate = [&](qreal x, qreal y) {
            Shape(p, Rect(x, y, x + 6, y + 6), Vertical(QColor(214, 160, 96), QColor(170, 112, 56), y, y + 6),
                  kBrownDark, 0.9);
            p.setPen(Pen(kBrownDark, 0.7));
            p.drawLine(QPointF(x + 0.5, y + 3), QPointF(x + 5.5, y + 3));
        };
        crate(1.5, 8.5);
        crate(8.5, 8.5);
        crate(5, 2);
    });
    set(BtnImage::Help, [](QPainter& p) {
        Shape(p, Circle({8, 8}, 6.8), Ball({8, 8}, 6.8, kBlueLight, kBlue), kBlueDark);
        QPainterPath q;
        q.moveTo(5.6, 6.2);
        q.cubicTo(5.6, 3.4, 10.6, 3.4, 10.6, 6.0);
        q.cubicTo(10.6, 7.6, 8.2, 7.8, 8.2, 9.8);
        p.setPen(Pen(Qt::white, 1.7));
        p.setBrush(Qt::NoBrush);
        p.drawPath(q);
        Shape(p, Circle({8.2, 12.2}, 1.05), Qt::white, QColor());
    });
    set(BtnImage::Exit, [](QPainter& p) {
        Shape(p, Rect(2.5, 1.5, 10.5, 14.5), Vertical(QColor(190, 130, 70), kBrown), kBrownDark);
        Shape(p, Circle({8.6, 8.5}, 0.9), kGold, kGoldDark, 0.5);
        Arrow(p, {9, 8}, {15.5, 8}, kGreen, kGreenDark, 2.4, 4.2);
    });
    set(BtnImage::Copy, [](QPainter& p) {
        Page(p, 5.5, 1.5, 14.5, 11.5);
        Page(p, 1.5, 4.5, 10.5, 14.5);
        ListLines(p, 3.5, 8.5, {7.5, 10, 12.5});
    });
    set(BtnImage::Open, [](QPainter& p) {
        Shape(p, Poly({{1.5, 3.5}, {6, 3.5}, {7.5, 5}, {13.5, 5}, {13.5, 13.5}, {1.5, 13.5}}),
              Vertical(QColor(250, 220, 120), QColor(220, 170, 50)), kGoldDark);
        Shape(p, Poly({{1.5, 13.5}, {4, 7.5}, {15.5, 7.5}, {13.5, 13.5}}),
              Vertical(QColor(255, 236, 150), QColor(236, 190, 70)), kGoldDark);
    });
    set(BtnImage::Font, [](QPainter& p) {
        QPainterPath a(QPointF(2.5, 14));
        a.lineTo(8, 2);
        a.lineTo(13.5, 14);
        p.setPen(Pen(kOutline, 2.0));
        p.setBrush(Qt::NoBrush);
        p.drawPath(a);
        p.drawLine(QPointF(5, 9.8), QPointF(11, 9.8));
    });
    set(BtnImage::Colour, [](QPainter& p) {
        Shape(p, Circle({6, 6}, 4.2), QColor(230, 60, 60, 220), kRedDark, 0.8);
        Shape(p, Circle({10, 6}, 4.2), QColor(60, 180, 80, 200), kGreenDark, 0.8);
        Shape(p, Circle({8, 10}, 4.2), QColor(60, 110, 230, 200), kBlueDark, 0.8);
    });
    set(BtnImage::BlackPearl, [](QPainter& p) {
        Shape(p, Circle({8, 9}, 5.6), Ball({8, 9}, 5.6, QColor(150, 150, 165), QColor(10, 10, 14)), QColor(0, 0, 0));
        Shape(p, Circle({6.2, 7.0}, 1.2), QColor(255, 255, 255, 220), QColor());
    });
    set(BtnImage::BloodMoss, [](QPainter& p) {
        const QPointF tufts[] = {{4, 11}, {8, 9.5}, {12, 11}, {6, 13}, {10.5, 13.3}, {8, 12}};
        for (const QPointF& c : tufts)
            Shape(p, Circle(c, 2.6), Ball(c, 2.6, QColor(240, 90, 90), QColor(140, 10, 20)), kRedDark, 0.7);
        p.setPen(Pen(QColor(70, 110, 40), 1.0));
        p.drawLine(QPointF(8, 7.5), QPointF(7, 3));
        p.drawLine(QPointF(9.5, 7.8), QPointF(11.5, 3.8));
    });
    set(BtnImage::Garlic, [](QPainter& p) {
        QPainterPath bulb;
        bulb.moveTo(8, 3.5);
        bulb.cubicTo(2, 7, 1.5, 14.5, 8, 14.5);
        bulb.cubicTo(14.5, 14.5, 14, 7, 8, 3.5);
        Shape(p, bulb, Ball({8, 10}, 6, QColor(255, 255, 250), QColor(220, 210, 190)), QColor(140, 130, 110));
        p.setPen(Pen(QColor(190, 180, 160), 0.8));
        p.drawLine(QPointF(8, 5), QPointF(8, 14));
        p.drawArc(QRectF(4.6, 6, 4, 8.4), 100 * 16, 160 * 16);
        p.drawArc(QRectF(7.4, 6, 4, 8.4), -80 * 16, 160 * 16);
        p.setPen(Pen(QColor(120, 150, 60), 1.3));
        p.drawLine(QPointF(8, 3.8), QPointF(8.6, 1.2));
    });
    set(BtnImage::Ginseng, [](QPainter& p) {
        QPainterPath root(QPointF(8, 2));
        root.cubicTo(9, 5, 7, 7, 8, 9.5);
        root.moveTo(8, 9.5);
        root.cubicTo(7, 11.5, 5, 12.5, 4, 14.8);
        root.moveTo(8, 9.5);
        root.cubicTo(9.5, 11.5, 11, 12.5, 12.2, 14.8);
        root.moveTo(8.2, 6.5);
        root.lineTo(11.5, 5);
        Stroke(p, root, QColor(222, 190, 140), kBrown, 2.2);
    });
    set(BtnImage::Mandrake, [](QPainter& p) {
        Shape(p, Poly({{5.5, 6.5}, {10.5, 6.5}, {9.5, 12}, {8, 15}, {6.5, 12}}),
              Vertical(QColor(190, 130, 80), kBrown, 6, 15), kBrownDark);
        QPainterPath leaves;
        leaves.addEllipse(QRectF(2.5, 1.5, 5, 3.2));
        leaves.addEllipse(QRectF(8.5, 1.5, 5, 3.2));
        leaves.addEllipse(QRectF(6, 0.6, 4, 5));
        Shape(p, leaves.simplified(), QColor(80, 160, 60), kGreenDark, 0.8);
    });
    set(BtnImage::Nightshade, [](QPainter& p) {
        QPainterPath leaf;
        leaf.moveTo(2, 3);
        leaf.cubicTo(7, 1, 10, 4, 9, 7);
        leaf.cubicTo(6, 7, 3, 6, 2, 3);
        Shape(p, leaf, QColor(80, 160, 60), kGreenDark, 0.8);
        const QPointF berries[] = {{7, 11}, {11, 9.5}, {11.5, 13.5}};
        for (const QPointF& c : berries)
            Shape(p, Circle(c, 2.6), Ball(c, 2.6, QColor(200, 130, 230), QColor(80, 20, 110)), QColor(50, 10, 70), 0.7);
    });
    set(BtnImage::SpidersSilk, [](QPainter& p) {
        p.setPen(Pen(QColor(110, 110, 120), 0.8));
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < 6; ++i) {
            const qreal a = i * kPi / 3 + kPi / 6;
            p.drawLine(QPointF(8, 8), QPointF(8 + std::cos(a) * 7, 8 + std::sin(a) * 7));
        }
        for (qreal r : {2.4, 4.6, 6.6}) {
            QPolygonF ring;
            for (int i = 0; i <= 6; ++i) {
                const qreal a = i * kPi / 3 + kPi / 6;
                ring << QPointF(8 + std::cos(a) * r, 8 + std::sin(a) * r);
            }
            p.drawPolyline(ring);
        }
    });
    set(BtnImage::SulfurousAsh, [](QPainter& p) {
        Shape(p, Poly({{1, 14.5}, {4.5, 8}, {8, 5}, {11.5, 8}, {15, 14.5}}),
              Vertical(QColor(236, 222, 120), QColor(190, 176, 90), 5, 15), QColor(120, 110, 50));
        p.setPen(Pen(QColor(110, 100, 80), 1.1));
        for (const QPointF& s :
             {QPointF(6, 10.5), QPointF(9.5, 12), QPointF(8.2, 8.2), QPointF(11.8, 12.8), QPointF(4.5, 13)})
            p.drawPoint(s);
    });
    return pics;
}

QImage StripWithDisabled(const QImage& normal) {
    QImage strip(32, 16, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.drawImage(0, 0, normal);
    p.drawImage(16, 0, MakeDisabled(normal));
    p.end();
    return strip;
}

}  // namespace

const ImageList& ImageList_Btn() {
    static const ImageList list = [] {
        std::vector<QImage> strips;
        for (const QImage& pic : ButtonPictures()) strips.push_back(StripWithDisabled(pic));
        return ImageList(32, 16, std::move(strips));
    }();
    return list;
}

const ImageList& ImageList_Ingot() {
    static const ImageList list = [] {
        const QColor ores[] = {
            QColor(150, 152, 158),  // Iron
            QColor(150, 118, 96),   // Dull-Copper
            QColor(78, 78, 92),     // Shadow
            QColor(204, 112, 60),   // Copper
            QColor(186, 136, 62),   // Bronze
            QColor(236, 194, 40),   // Gold
            QColor(196, 96, 112),   // Agapite
            QColor(96, 172, 110),   // Verite
            QColor(84, 110, 206),   // Valorite
        };
        std::vector<QImage> images;
        for (const QColor& ore : ores) images.push_back(Ingot(ore));
        return ImageList(16, 16, std::move(images));
    }();
    return list;
}

const ImageList& ImageList_16x16() {
    static const ImageList list = [] {
        QImage empty(16, 16, QImage::Format_ARGB32);
        empty.fill(Qt::transparent);
        std::vector<QImage> images{empty, Tick(kGreen, kGreenDark), Cross(kRed, kRedDark),
                                   Tick(QColor(160, 160, 160), QColor(100, 100, 100))};
        return ImageList(16, 16, std::move(images));
    }();
    return list;
}

QImage AppIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // Tile.
    QLinearGradient bg(0, 0, 0, 64);
    bg.setColorAt(0, QColor(34, 122, 132));
    bg.setColorAt(1, QColor(18, 70, 78));
    p.setPen(QPen(QColor(10, 44, 50), 1.5));
    p.setBrush(bg);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    // Posts and counter of the stall.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 78, 40));
    p.drawRect(QRectF(11, 20, 4, 28));
    p.drawRect(QRectF(49, 20, 4, 28));
    p.setBrush(QColor(160, 106, 56));
    p.drawRoundedRect(QRectF(7, 44, 50, 10), 2, 2);
    p.setBrush(QColor(120, 78, 40));
    p.drawRect(QRectF(7, 51, 50, 3));
    // Striped awning with a scalloped edge.
    const int stripes = 6;
    const qreal left = 6, right = 58, top = 9, bottom = 22, w = (right - left) / stripes;
    for (int i = 0; i < stripes; ++i) {
        QPainterPath stripe;
        stripe.moveTo(left + i * w, top);
        stripe.lineTo(left + (i + 1) * w, top);
        stripe.lineTo(left + (i + 1) * w, bottom);
        stripe.arcTo(QRectF(left + i * w, bottom - w / 2, w, w), 0, -180);
        stripe.closeSubpath();
        p.setBrush(i % 2 == 0 ? QColor(214, 58, 58) : QColor(246, 236, 214));
        p.setPen(QPen(QColor(120, 30, 30), 1.0));
        p.drawPath(stripe);
    }
    // A gold coin on the counter.
    QRadialGradient coin(QPointF(29, 30), 13);
    coin.setColorAt(0, QColor(255, 236, 140));
    coin.setColorAt(1, QColor(214, 160, 20));
    p.setBrush(coin);
    p.setPen(QPen(QColor(140, 96, 10), 1.6));
    p.drawEllipse(QPointF(32, 34), 10, 10);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(160, 112, 14), 1.2));
    p.drawEllipse(QPointF(32, 34), 6.5, 6.5);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(QPixmap::fromImage(AppIconImage(size)));
    return icon;
}

}  // namespace stallmark
