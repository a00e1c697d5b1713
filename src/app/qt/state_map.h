#pragma once

#include "app/qt/state_map_painter.h"

#include <QWidget>

namespace tallyvane {

// The summary's map as a control: a tile under the pointer or chosen with the
// arrow keys names its state and count in a tooltip, in the accessible
// description and through currentTileChanged.
class StateMap : public QWidget {
    Q_OBJECT
public:
    explicit StateMap(QWidget* parent = nullptr);

    void setCounts(MapCounts counts);
    const MapCounts& counts() const { return counts_; }
    // The drawing at a size, for the saved images.
    void render(QPainter& painter, const QRectF& area) const;
    QString currentTileText() const;

    QSize sizeHint() const override { return {520, 440}; }
    QSize minimumSizeHint() const override { return {260, 220}; }

Q_SIGNALS:
    void currentTileChanged(const QString& description);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void setCurrent(const StateTile* tile);
    void moveCurrent(int columns, int rows);

    MapCounts counts_;
    const StateTile* current_ = nullptr;
};

} // namespace tallyvane
