#pragma once

#include <QHash>
#include <QPalette>
#include <QRectF>
#include <QString>

#include <cstdint>

class QPainter;

namespace tallyvane {

struct StateTile;

// The counts the map shades: one for each state or province named.
struct MapCounts {
    QHash<QString, std::uint64_t> byCode;
    std::uint64_t largest = 0;
};

// Draws the tile map of the summary into area: every tile shaded on one
// sequential scale by its count, with its code and count on it, and the
// legend beneath. The same drawing serves the window and the saved images.
class StateMapPainter {
public:
    static constexpr int kClasses = 5;

    StateMapPainter(const MapCounts& counts, const QPalette& palette)
        : counts_(counts), palette_(palette) {}

    void paint(QPainter& painter, const QRectF& area, const StateTile* focused = nullptr) const;
    // The tile under a point of area, or null.
    const StateTile* tileAt(const QRectF& area, QPointF point) const;
    // "Texas (TX): 1,234 entries"
    QString describe(const StateTile& tile) const;

    // The scale's class of a count: 0 for none, 1 to kClasses otherwise.
    int classOf(std::uint64_t count) const;
    // The lowest count of a class (1 to kClasses).
    std::uint64_t classFloor(int shade) const;

private:
    struct Grid {
        QRectF tiles;
        QRectF legend;
        double side;
    };
    Grid gridIn(const QRectF& area) const;
    QRectF tileRect(const Grid& grid, const StateTile& tile) const;
    void paintTile(QPainter& painter, const QRectF& rect, const StateTile& tile,
                   bool focused) const;
    void paintLegend(QPainter& painter, const QRectF& rect) const;

    const MapCounts& counts_;
    QPalette palette_;
};

// The fill of a class and the text that reads on it.
QColor shadeColor(int shade);
QColor textOn(const QColor& fill);

} // namespace tallyvane
