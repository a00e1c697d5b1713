#pragma once

#include "lists/text_store.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

namespace tallyvane {

// A row's text as another list can keep it: a handle into the store it lies
// in, shared so that it outlives the row; or, from a list without a store, a
// copy of the text.
struct SharedText {
    std::shared_ptr<const TextStore> store; // null: the text is `copy`
    TextStore::Handle handle = 0;
    QString copy;
};

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
    // The row's text for another list to keep; a copy unless the list shares its store.
    virtual SharedText sharedText(int position) const { return {nullptr, 0, text(position)}; }
    // The whole text of the row of another list this row came from, and the
    // row's note; empty where a list keeps none.
    virtual QString originEntry(int position) const {
        (void)position;
        return {};
    }
    virtual QString note(int position) const {
        (void)position;
        return {};
    }

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
    // The key of the cell of a kept table that the row came from, 0 for none;
    // a row appended after setNextRowOrigin keeps its source row's key.
    // Lists that keep no keys ignore them.
    virtual std::uint64_t sourceKey(int position) const {
        (void)position;
        return 0;
    }
    virtual void setNextRowSourceKey(std::uint64_t key) { (void)key; }
    // The row appended next carries this note, such as why it found nothing.
    // Lists that show no notes ignore it.
    virtual void setNextRowNote(const QString& note) { (void)note; }
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
