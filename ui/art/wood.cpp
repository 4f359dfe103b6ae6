// Wood, bevels and the openings cut into the wood.
#include "drawing.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace art::drawing {

std::uint32_t Noise::next()
{
    // xorshift32: portable, and good enough for grain.
    std::uint32_t x = state_;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    state_ = x;
    return x;
}

double Noise::uniform(double low, double high)
{
    return low + (high - low) * (double(next() >> 8) / double(1u << 24));
}

std::uint32_t seedOf(std::string_view word)
{
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (char c : word)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

namespace {

constexpr double Tau = 2.0 * std::numbers::pi;

struct Knot
{
    double x, y, radius;
};

QColor withAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

QColor shade(const QColor &colour, double factor)
{
    return QColor::fromRgbF(std::clamp(float(colour.redF() * factor), 0.0f, 1.0f),
                            std::clamp(float(colour.greenF() * factor), 0.0f, 1.0f),
                            std::clamp(float(colour.blueF() * factor), 0.0f, 1.0f));
}

// How far a grain line starting at height y0 bends away from a knot at x.
double knotBend(const Knot &knot, double x, double y0)
{
    const double d = y0 - knot.y;
    const double along = (x - knot.x) / (knot.radius * 2.4);
    const double push =
        knot.radius * 1.5 * std::exp(-along * along) * std::exp(-std::abs(d) / (knot.radius * 1.8));
    return d >= 0 ? push : -push;
}

} // namespace

void paintWood(QPainter &painter, const QRectF &area, std::uint32_t seed, const WoodTone &tone)
{
    Noise noise(seed);
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);

    // Broad bands of lighter and darker growth across the board.
    QLinearGradient bands(area.topLeft(), area.bottomLeft());
    const int stops = std::max(3, int(area.height() / 14));
    for (int i = 0; i <= stops; ++i)
        bands.setColorAt(double(i) / stops, shade(tone.base, noise.uniform(0.9, 1.1)));
    painter.fillRect(area, bands);

    // A board gets a knot or two; a small plate stays clear.
    std::vector<Knot> knots;
    const double surface = area.width() * area.height();
    const int knotCount = surface > 60000 ? 2 : surface > 20000 ? 1 : 0;
    for (int i = 0; i < knotCount; ++i) {
        knots.push_back({area.left() + area.width() * noise.uniform(0.15, 0.85),
                         area.top() + area.height() * noise.uniform(0.15, 0.85),
                         noise.uniform(4.5, 7.0)});
    }

    // One slow wave shared by all lines, so that neighbouring lines run together.
    const double sharedAmplitude = noise.uniform(1.5, 3.5);
    const double sharedFrequency = Tau / noise.uniform(180, 320);
    const double sharedPhase = noise.uniform(0, Tau);
    const double step = 3.0;

    const double spacing = 2.1;
    const int lines = int(area.height() / spacing) + 8;
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < lines; ++i) {
        const double y0 = area.top() - 8 + i * spacing + noise.uniform(-0.7, 0.7);
        const double a1 = noise.uniform(0.2, 1.2);
        const double f1 = Tau / noise.uniform(60, 160);
        const double p1 = noise.uniform(0, Tau);
        const double a2 = noise.uniform(0.0, 0.35);
        const double f2 = Tau / noise.uniform(14, 30);
        const double p2 = noise.uniform(0, Tau);
        const double drift = sharedPhase + y0 * 0.012;
        QPainterPath line;
        for (double x = area.left() - step; x <= area.right() + step; x += step) {
            double y = y0 + sharedAmplitude * std::sin(sharedFrequency * x + drift)
                + a1 * std::sin(f1 * x + p1) + a2 * std::sin(f2 * x + p2);
            for (const Knot &knot : knots)
                y += knotBend(knot, x, y0);
            if (x < area.left())
                line.moveTo(x, y);
            else
                line.lineTo(x, y);
        }
        const bool light = noise.uniform() < 0.22;
        const QColor colour = light ? withAlpha(tone.light, int(noise.uniform(30, 80)))
                                    : withAlpha(tone.dark, int(noise.uniform(22, 105)));
        painter.setPen(QPen(colour, noise.uniform(0.45, 1.25), Qt::SolidLine, Qt::RoundCap));
        painter.drawPath(line);
    }

    // Pores: short dark flecks along the grain.
    const int pores = int(surface / 70);
    for (int i = 0; i < pores; ++i) {
        const double x = noise.uniform(area.left(), area.right());
        const double y = noise.uniform(area.top(), area.bottom());
        double slope = sharedAmplitude * sharedFrequency
            * std::cos(sharedFrequency * x + sharedPhase + y * 0.012);
        const double length = noise.uniform(1.5, 5.0);
        painter.setPen(QPen(withAlpha(tone.dark, int(noise.uniform(25, 70))),
                            noise.uniform(0.5, 0.9), Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(x, y), QPointF(x + length, y + slope * length));
    }

    for (const Knot &knot : knots) {
        QRadialGradient heart(QPointF(knot.x, knot.y), knot.radius);
        heart.setColorAt(0, withAlpha(shade(tone.dark, 0.8), 230));
        heart.setColorAt(0.55, withAlpha(tone.dark, 150));
        heart.setColorAt(1, withAlpha(tone.dark, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(heart);
        painter.save();
        painter.translate(knot.x, knot.y);
        painter.scale(1.0, 0.55);
        painter.translate(-knot.x, -knot.y);
        painter.drawEllipse(QPointF(knot.x, knot.y), knot.radius * 1.1, knot.radius * 1.1);
        painter.setBrush(Qt::NoBrush);
        for (int ring = 1; ring <= 3; ++ring) {
            painter.setPen(QPen(withAlpha(tone.dark, 120 - ring * 25), 0.8));
            const double r = knot.radius * (0.35 + 0.3 * ring);
            painter.drawEllipse(QPointF(knot.x, knot.y), r * 1.15, r);
        }
        painter.restore();
    }
    painter.restore();
}

void paintBevel(QPainter &painter, const QRectF &rect, qreal width, const QColor &light,
                const QColor &dark, bool sunken)
{
    const QColor &upper = sunken ? dark : light;
    const QColor &lower = sunken ? light : dark;
    const qreal l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom(), w = width;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(upper);
    painter.drawPolygon(QPolygonF({{l, t}, {r, t}, {r - w, t + w}, {l + w, t + w}}));
    painter.drawPolygon(QPolygonF({{l, t}, {l + w, t + w}, {l + w, b - w}, {l, b}}));
    painter.setBrush(lower);
    painter.drawPolygon(QPolygonF({{l, b}, {l + w, b - w}, {r - w, b - w}, {r, b}}));
    painter.drawPolygon(QPolygonF({{r, t}, {r, b}, {r - w, b - w}, {r - w, t + w}}));
    painter.restore();
}

QPainterPath roundedOutline(const QPainterPath &rectilinear, qreal convexRadius,
                            qreal concaveRadius)
{
    constexpr qreal Kappa = 0.5523; // control distance of a quarter circle drawn as one cubic
    QPainterPath result;
    for (QPolygonF polygon : rectilinear.simplified().toSubpathPolygons()) {
        if (polygon.size() > 1 && polygon.first() == polygon.last())
            polygon.removeLast();
        // Drop points that do not turn the outline.
        std::vector<QPointF> corners;
        const qsizetype n = polygon.size();
        for (qsizetype i = 0; i < n; ++i) {
            const QPointF prev = polygon[(i + n - 1) % n], here = polygon[i],
                          next = polygon[(i + 1) % n];
            const QPointF in = here - prev, out = next - here;
            if (std::abs(in.x() * out.y() - in.y() * out.x()) > 1e-9)
                corners.push_back(here);
        }
        const std::size_t m = corners.size();
        if (m < 3)
            continue;
        double area = 0;
        for (std::size_t i = 0; i < m; ++i) {
            const QPointF &a = corners[i], &b = corners[(i + 1) % m];
            area += a.x() * b.y() - b.x() * a.y();
        }
        for (std::size_t i = 0; i < m; ++i) {
            const QPointF prev = corners[(i + m - 1) % m], here = corners[i],
                          next = corners[(i + 1) % m];
            const QPointF in = here - prev, out = next - here;
            const qreal inLength = std::hypot(in.x(), in.y()),
                        outLength = std::hypot(out.x(), out.y());
            const bool convex = (in.x() * out.y() - in.y() * out.x()) * area > 0;
            const qreal radius =
                std::min({convex ? convexRadius : concaveRadius, inLength / 2, outLength / 2});
            const QPointF a = here - in / inLength * radius;
            const QPointF b = here + out / outLength * radius;
            if (i == 0)
                result.moveTo(a);
            else
                result.lineTo(a);
            result.cubicTo(a + (here - a) * Kappa, b + (here - b) * Kappa, b);
        }
        result.closeSubpath();
    }
    return result;
}

namespace {

// Boolean operations flatten curves; working at a finer scale keeps corners round at any
// pixel ratio.
QPainterPath minus(const QPainterPath &a, const QPainterPath &b)
{
    constexpr qreal Fine = 16;
    const QTransform up = QTransform::fromScale(Fine, Fine);
    const QTransform down = QTransform::fromScale(1 / Fine, 1 / Fine);
    return down.map(up.map(a).subtracted(up.map(b)));
}

} // namespace

void paintCutOut(QPainter &painter, const QPainterPath &opening, const QBrush &floor)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.fillPath(opening, floor);
    // The shadow of the upper and left walls, softening away from them.
    for (int k = 1; k <= 3; ++k)
        painter.fillPath(minus(opening, opening.translated(k + 1, k + 1)), QColor(60, 30, 0, 24));
    // The walls: lit along the bottom and right, in shade along the top and left.
    painter.fillPath(minus(opening, opening.translated(-2, -2)), QColor(255, 240, 205, 200));
    painter.fillPath(minus(opening, opening.translated(2, 2)), QColor(58, 32, 12, 225));
    painter.fillPath(minus(opening, opening.translated(1, 1)), QColor(30, 15, 4, 120));
    painter.restore();
}

} // namespace art::drawing
