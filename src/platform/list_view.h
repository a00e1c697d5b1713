#pragma once

#include <QString>
#include <QStringList>

namespace tallyvane {

// A report-style list: headed columns and rows addressed by 1-based position.
// Operations on a position that does not exist throw Failure.
class ListView {
public:
    virtual ~ListView() = default;

    virtual int count() const = 0;
    virtual QString text(int position) const = 0;
    // Column 1 is the row's text, column c >= 2 its sub-item c - 1 (empty when absent).
    virtual QString columnText(int position, int column) const = 0;
    virtual bool checked(int position) const = 0;

    // Appends a checked row with the text and no sub-items.
    virtual void append(const QString& text) = 0;
    // The row appended next comes from the row at the position of source: it
    // keeps that row's text and position as they are now, whatever happens to
    // either list later. A position that does not exist gives it no origin.
    // Lists that show no origin ignore it.
    virtual void setNextRowOrigin(const ListView& source, int sourcePosition) {
        (void)source;
        (void)sourcePosition;
    }
    virtual void remove(int position) = 0;
    virtual void clear() = 0;
    // The selected row's position, 0 when nothing is selected.
    virtual int selectedPosition() const = 0;

    virtual int columnCount() const = 0;
    virtual QString heading(int column) const = 0;
    virtual void addColumn(const QString& heading) = 0;
    virtual void setFirstColumnWidthTwips(int twips) = 0;
};

} // namespace tallyvane
