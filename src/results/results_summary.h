#pragma once

#include "conversion/direction.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace tallyvane {

// One line of a summary: a name and how many entries it stands for.
struct SummaryCount {
    QString name;
    std::uint64_t count = 0;
    bool operator==(const SummaryCount&) const = default;
};

// What a list of results comes to, counted once here so that the window and
// tallyvane-convert say the same. Every list is sorted by count, the largest
// first, then by name.
struct ResultsSummary {
    Direction direction = Direction::AreaCodesToStates;
    std::uint64_t entries = 0;
    // Area codes to states: each results row as shown ("TX", "NT NU YT",
    // "Not Found"). States to area codes: "Found" and "Not Found". Either
    // way "Blank" for blank entries, where there are any.
    std::vector<SummaryCount> results;
    // The "Not Found" entries by why they found nothing.
    std::vector<SummaryCount> reasons;
    // Area codes to states: each state or province named, for the map; an
    // entry whose row names several counts once for each. States to area
    // codes: each area code named.
    std::vector<SummaryCount> places;
};

// Counts results rows as they come, in any order; summary() sorts.
class SummaryTally {
public:
    explicit SummaryTally(Direction direction) : direction_(direction) {}

    // One results row (count of them), with the reason it found nothing
    // when its text is "Not Found".
    void add(const QString& result, const QString& reason, std::uint64_t count = 1);
    // Blank entries (a blank cell of a column, a row without the column),
    // whose results are blank too: counted under a result row of their own.
    void addBlank(std::uint64_t count = 1);
    ResultsSummary summary() const;
    Direction direction() const { return direction_; }

private:
    Direction direction_;
    std::uint64_t entries_ = 0;
    QHash<QString, std::uint64_t> rows_; // by the row's text
    QHash<QString, std::uint64_t> reasons_;
    std::uint64_t blanks_ = 0;
};

// The summary as a table, the same in every output: a heading, then a row
// for each result, each reason, each place and the total, each of four
// cells: group, name, count and share of all entries in per cent.
QList<QStringList> summaryTable(const ResultsSummary& summary);

// The table as tallyvane-convert writes it and the window saves and copies it.
QString summaryTsv(const ResultsSummary& summary);
QString summaryCsv(const ResultsSummary& summary);
QStringList summaryCsvLines(const ResultsSummary& summary); // without their line ends
QString summaryAlignedText(const ResultsSummary& summary);
QString summaryHtml(const ResultsSummary& summary);

} // namespace tallyvane
