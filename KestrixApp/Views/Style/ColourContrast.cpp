#include "KestrixApp/Views/Style/ColourContrast.h"

#include <algorithm>
#include <cmath>

namespace kestrix::views {
namespace {

double linear(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

QColor mixed(const QColor& from, const QColor& to, double share) {
    const auto blend = [share](double a, double b) { return a + (b - a) * share; };
    return QColor::fromRgbF(static_cast<float>(blend(from.redF(), to.redF())),
                            static_cast<float>(blend(from.greenF(), to.greenF())),
                            static_cast<float>(blend(from.blueF(), to.blueF())));
}

}  // namespace

double relativeLuminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

double contrastRatio(const QColor& first, const QColor& second) {
    const double a = relativeLuminance(first);
    const double b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor composited(const QColor& over, const QColor& under) {
    const QColor opaqueUnder = under.toRgb();
    QColor result = mixed(opaqueUnder, over.toRgb(), over.alphaF());
    result.setAlphaF(1.0f);
    return result;
}

QColor readableOn(const QColor& text, const QColor& background, double minimumRatio) {
    QColor opaque = composited(text, background);
    if (contrastRatio(opaque, background) >= minimumRatio) return text;
    // Towards whichever end can give the background the most contrast.
    const QColor end = contrastRatio(Qt::black, background) >= contrastRatio(Qt::white, background) ? QColor(Qt::black)
                                                                                                   : QColor(Qt::white);
    for (int step = 1; step <= 20; ++step) {
        const QColor candidate = mixed(opaque, end, step / 20.0);
        if (contrastRatio(candidate, background) >= minimumRatio) return candidate;
    }
    return end;
}

}  // namespace kestrix::views
