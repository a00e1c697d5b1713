#include "app/qt/state_map_painter.h"

#include "results/state_tiles.h"

#include <QLocale>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tallyvane {

namespace {
constexpr double kLegendRows = 1.6; // the legend's height, in tiles
constexpr double kGap = 0.08;       // between tiles, in tiles
} // namespace

// One blue, from pale to deep: it reads the same on a light and a dark
// window, and the text on each tile takes whichever of black or white
// stands out more.
QColor shadeColor(int shade) {
    static constexpr int kLightness[StateMapPainter::kClasses + 1] = {0, 222, 186, 148, 108, 66};
    return QColor::fromHsl(212, 150, kLightness[std::clamp(shade, 1, StateMapPainter::kClasses)]);
}

QColor textOn(const QColor& fill) {
    const double luminance = 0.2126 * fill.redF() + 0.7152 * fill.greenF() + 0.0722 * fill.blueF();
    return luminance > 0.45 ? QColor(Qt::black) : QColor(Qt::white);
}

int StateMapPainter::classOf(std::uint64_t count) const {
    if (count == 0 || counts_.largest == 0)
        return 0;
    // Equal steps of the largest count: 1 to kClasses.
    const auto shade = (count * kClasses + counts_.largest - 1) / counts_.largest;
    return static_cast<int>(std::clamp<std::uint64_t>(shade, 1, kClasses));
}

std::uint64_t StateMapPainter::classFloor(int shade) const {
    return shade <= 1 ? 1 : counts_.largest * std::uint64_t(shade - 1) / kClasses + 1;
}

StateMapPainter::Grid StateMapPainter::gridIn(const QRectF& area) const {
    const double side =
        std::min(area.width() / tileColumns(), area.height() / (tileRows() + kLegendRows));
    const QSizeF size(side * tileColumns(), side * (tileRows() + kLegendRows));
    const QPointF origin(area.left() + (area.width() - size.width()) / 2,
                         area.top() + (area.height() - size.height()) / 2);
    const QRectF tiles(origin, QSizeF(size.width(), side * tileRows()));
    return {tiles, QRectF(tiles.bottomLeft(), QSizeF(size.width(), side * kLegendRows)), side};
}

QRectF StateMapPainter::tileRect(const Grid& grid, const StateTile& tile) const {
    const double gap = grid.side * kGap;
    QRectF rect(grid.tiles.left() + tile.column * grid.side + gap / 2,
                grid.tiles.top() + tile.row * grid.side + gap / 2, grid.side - gap,
                grid.side - gap);
    if (tile.small) // far out to sea: a smaller tile in the same square
        rect.adjust(rect.width() * 0.15, rect.height() * 0.15, -rect.width() * 0.15,
                    -rect.height() * 0.15);
    return rect;
}

const StateTile* StateMapPainter::tileAt(const QRectF& area, QPointF point) const {
    const Grid grid = gridIn(area);
    for (const StateTile& tile : stateTiles()) {
        if (tileRect(grid, tile).contains(point))
            return &tile;
    }
    return nullptr;
}

QString StateMapPainter::describe(const StateTile& tile) const {
    const std::uint64_t count = counts_.byCode.value(QLatin1String(tile.code));
    return QStringLiteral("%1 (%2): %3 %4")
        .arg(QLatin1String(tile.name), QLatin1String(tile.code),
             QLocale().toString(qulonglong(count)),
             count == 1 ? QStringLiteral("entry") : QStringLiteral("entries"));
}

void StateMapPainter::paint(QPainter& painter, const QRectF& area, const StateTile* focused) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const Grid grid = gridIn(area);
    QFont font = painter.font();
    font.setPixelSize(std::max(6, int(grid.side * 0.26)));
    painter.setFont(font);
    for (const StateTile& tile : stateTiles())
        paintTile(painter, tileRect(grid, tile), tile, &tile == focused);
    font.setPixelSize(std::max(6, int(grid.side * 0.24)));
    painter.setFont(font);
    paintLegend(painter, grid.legend);
    painter.restore();
}

void StateMapPainter::paintTile(QPainter& painter, const QRectF& rect, const StateTile& tile,
                                bool focused) const {
    const std::uint64_t count = counts_.byCode.value(QLatin1String(tile.code));
    const int shade = classOf(count);
    const QColor fill = shade == 0 ? palette_.color(QPalette::Base) : shadeColor(shade);
    painter.setPen(
        QPen(focused ? palette_.color(QPalette::Highlight) : palette_.color(QPalette::Mid),
             focused ? 3.0 : 1.0));
    painter.setBrush(fill);
    painter.drawRect(rect);
    painter.setPen(shade == 0 ? palette_.color(QPalette::Text) : textOn(fill));
    const QString label =
        QStringLiteral("%1\n%2").arg(QLatin1String(tile.code), QString::number(count));
    if (!tile.small)
        return painter.drawText(rect, Qt::AlignCenter, label);
    // A territory's smaller tile takes its count too, in a smaller type.
    painter.save();
    QFont font = painter.font();
    font.setPixelSize(std::max(5, font.pixelSize() * 2 / 3));
    painter.setFont(font);
    painter.drawText(rect, Qt::AlignCenter, label);
    painter.restore();
}

void StateMapPainter::paintLegend(QPainter& painter, const QRectF& rect) const {
    const double swatch = rect.height() * 0.4;
    double x = rect.left() + swatch * 0.3;
    const double y = rect.top() + swatch * 0.3;
    painter.setPen(palette_.color(QPalette::WindowText));
    const QFontMetricsF metrics(painter.font());
    const auto entry = [&](const QColor& fill, const QString& label) {
        painter.setPen(palette_.color(QPalette::Mid));
        painter.setBrush(fill);
        painter.drawRect(QRectF(x, y, swatch, swatch));
        painter.setPen(palette_.color(QPalette::WindowText));
        x += swatch * 1.2;
        painter.drawText(QPointF(x, y + swatch * 0.8), label);
        x += metrics.horizontalAdvance(label) + swatch * 0.6;
    };
    entry(palette_.color(QPalette::Base), QStringLiteral("0"));
    const int classes =
        counts_.largest == 0 ? 0 : int(std::min<std::uint64_t>(kClasses, counts_.largest));
    for (int shade = 1; shade <= kClasses && classes > 0; ++shade) {
        const std::uint64_t low = classFloor(shade);
        const std::uint64_t high = shade == kClasses ? counts_.largest : classFloor(shade + 1) - 1;
        if (low > high)
            continue; // a class no count can fall in
        entry(shadeColor(shade),
              low == high ? QString::number(low) : QStringLiteral("%1–%2").arg(low).arg(high));
    }
    painter.drawText(QRectF(rect.left() + swatch * 0.3, y + swatch * 1.2, rect.width(),
                            rect.height() - swatch * 1.5),
                     Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("Entries per state or province. An entry whose result names "
                                    "several counts once for each."));
}

} // namespace tallyvane
