#include "app/qt/state_map.h"

#include "results/state_tiles.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <cstdlib>
#include <utility>

namespace tallyvane {

StateMap::StateMap(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SummaryMap"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAccessibleName(QStringLiteral("Map of entries by state"));
    setAccessibleDescription(QStringLiteral("Use the arrow keys to move from state to state."));
}

void StateMap::setCounts(MapCounts counts) {
    counts_ = std::move(counts);
    setCurrent(current_); // its count may have changed
    update();
}

void StateMap::render(QPainter& painter, const QRectF& area) const {
    StateMapPainter(counts_, palette()).paint(painter, area);
}

QString StateMap::currentTileText() const {
    return current_ ? StateMapPainter(counts_, palette()).describe(*current_) : QString();
}

void StateMap::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    StateMapPainter(counts_, palette()).paint(painter, rect(), hasFocus() ? current_ : nullptr);
}

void StateMap::setCurrent(const StateTile* tile) {
    current_ = tile;
    const QString text = currentTileText();
    setAccessibleDescription(
        text.isEmpty() ? QStringLiteral("Use the arrow keys to move from state to state.") : text);
    Q_EMIT currentTileChanged(text);
    update();
}

// Left and Right go through the tiles in reading order, so every tile is in
// reach of the keyboard; Up and Down go to the nearest tile of the row above
// or below.
void StateMap::moveCurrent(int columns, int rows) {
    const auto tiles = stateTiles();
    if (!current_)
        return setCurrent(&tiles.front());
    const auto before = [](const StateTile& a, const StateTile& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    };
    const StateTile* best = nullptr;
    for (const StateTile& tile : tiles) {
        if (columns != 0) {
            const bool ahead = columns > 0 ? before(*current_, tile) : before(tile, *current_);
            if (ahead && (!best || (columns > 0 ? before(tile, *best) : before(*best, tile))))
                best = &tile;
            continue;
        }
        const int dy = (tile.row - current_->row) * rows;
        if (dy <= 0)
            continue;
        const auto distance = [&](const StateTile& t) {
            return std::pair(std::abs(t.row - current_->row),
                             std::abs(t.column - current_->column));
        };
        if (!best || distance(tile) < distance(*best))
            best = &tile;
    }
    if (best)
        setCurrent(best);
}

void StateMap::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
        return moveCurrent(-1, 0);
    case Qt::Key_Right:
        return moveCurrent(1, 0);
    case Qt::Key_Up:
        return moveCurrent(0, -1);
    case Qt::Key_Down:
        return moveCurrent(0, 1);
    default:
        QWidget::keyPressEvent(event);
    }
}

void StateMap::mouseMoveEvent(QMouseEvent* event) {
    if (const StateTile* tile =
            StateMapPainter(counts_, palette()).tileAt(rect(), event->position());
        tile && tile != current_)
        setCurrent(tile);
    QWidget::mouseMoveEvent(event);
}

void StateMap::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    mouseMoveEvent(event);
}

bool StateMap::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        StateMapPainter painter(counts_, palette());
        if (const StateTile* tile = painter.tileAt(rect(), help->pos()))
            QToolTip::showText(help->globalPos(), painter.describe(*tile), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

} // namespace tallyvane
