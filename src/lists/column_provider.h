#pragma once

#include <QString>
#include <QStringList>

namespace tallyvane {

// Columns a view shows after a list's own, worked out only for the rows on
// screen and never part of the list (the window's time zones): each kind of
// column is one provider. Positions are the list's, from 1; columns count
// from 0 within the provider.
class ColumnProvider {
public:
    virtual ~ColumnProvider() = default;
    // The headings shown; they stay the same while the provider is shown.
    virtual QStringList headings() const = 0;
    virtual QString text(int position, int column) = 0;
    // Words added to a row's tooltip; empty for none.
    virtual QString tooltip(int position) {
        (void)position;
        return {};
    }
    // What the exports add while the columns are shown: headings, and a
    // row's fields in their order.
    virtual QStringList exportHeadings() const { return {}; }
    virtual QStringList exportFields(int position) {
        (void)position;
        return {};
    }
};

} // namespace tallyvane
