#include "results/results_summary.h"

#include "conversion/area_code_table.h"
#include "conversion/several_numbers.h"

#include "commands/csv_field.h"
#include "results/aligned_cell.h"

#include <algorithm>

namespace tallyvane {

namespace {

std::vector<SummaryCount> sorted(const QHash<QString, std::uint64_t>& counts) {
    std::vector<SummaryCount> out;
    out.reserve(std::size_t(counts.size()));
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        out.push_back({it.key(), it.value()});
    std::sort(out.begin(), out.end(), [](const SummaryCount& a, const SummaryCount& b) {
        return a.count != b.count ? a.count > b.count : a.name < b.name;
    });
    return out;
}

QString share(std::uint64_t count, std::uint64_t entries) {
    if (entries == 0)
        return {};
    return QString::number(100.0 * double(count) / double(entries), 'f', 2);
}

QStringList lines(const ResultsSummary& summary, char delimiter) {
    QStringList out;
    for (const QStringList& row : summaryTable(summary)) {
        QString line;
        for (const QString& cell : row) {
            line += delimiter == '\t' ? cell : csv::field(cell, true, delimiter);
            line += QLatin1Char(delimiter);
        }
        line.chop(1);
        out << line;
    }
    return out;
}

} // namespace

void SummaryTally::add(const QString& result, const QString& reason, std::uint64_t count) {
    // A row of several numbers ("NH ::: Not Found") counts each number, with
    // the reason in its place.
    const QString join =
        QString::fromLatin1(kSeveralNumbersJoin.data(), qsizetype(kSeveralNumbersJoin.size()));
    if (result.contains(join)) {
        const QStringList results = result.split(join);
        const QStringList reasons = reason.split(join);
        for (qsizetype i = 0; i < results.size(); ++i)
            add(results[i], reasons.value(i), count);
        return;
    }
    entries_ += count;
    rows_[result] += count;
    if (AreaCodeTable::isNotFound(result))
        reasons_[reason] += count;
}

void SummaryTally::addBlank(std::uint64_t count) {
    entries_ += count;
    blanks_ += count;
}

ResultsSummary SummaryTally::summary() const {
    ResultsSummary out;
    out.direction = direction_;
    out.entries = entries_;
    out.reasons = sorted(reasons_);
    const std::uint64_t notFound = rows_.value(AreaCodeTable::notFoundText());
    const QString blank = QStringLiteral("Blank");
    if (direction_ == Direction::AreaCodesToStates) {
        QHash<QString, std::uint64_t> rows = rows_;
        if (blanks_ > 0)
            rows[blank] += blanks_;
        out.results = sorted(rows);
    } else { // a row of codes is long and says little: found or not is what counts
        QHash<QString, std::uint64_t> rows{{QStringLiteral("Found"), entries_ - notFound - blanks_},
                                           {AreaCodeTable::notFoundText(), notFound}};
        if (blanks_ > 0)
            rows[blank] = blanks_;
        out.results = sorted(rows);
    }
    // The places come from the rows found: each name a row holds, once per row.
    QHash<QString, std::uint64_t> places;
    for (auto it = rows_.cbegin(); it != rows_.cend(); ++it) {
        if (AreaCodeTable::isNotFound(it.key()))
            continue;
        for (const QString& place : it.key().split(QLatin1Char(' '), Qt::SkipEmptyParts))
            places[place] += it.value();
    }
    out.places = sorted(places);
    return out;
}

QList<QStringList> summaryTable(const ResultsSummary& s) {
    QList<QStringList> rows{{QStringLiteral("Group"), QStringLiteral("Name"),
                             QStringLiteral("Count"), QStringLiteral("Share %")}};
    const auto add = [&](const QString& group, const std::vector<SummaryCount>& counts) {
        for (const SummaryCount& c : counts)
            rows.append({group, c.name, QString::number(c.count), share(c.count, s.entries)});
    };
    add(QStringLiteral("Result"), s.results);
    add(QStringLiteral("Reason"), s.reasons);
    add(s.direction == Direction::AreaCodesToStates ? QStringLiteral("State")
                                                    : QStringLiteral("Area code"),
        s.places);
    rows.append({QStringLiteral("Total"), QString(), QString::number(s.entries),
                 share(s.entries, s.entries)});
    return rows;
}

QString summaryTsv(const ResultsSummary& summary) {
    return lines(summary, '\t').join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QStringList summaryCsvLines(const ResultsSummary& summary) {
    return lines(summary, ',');
}

QString summaryCsv(const ResultsSummary& summary) {
    return summaryCsvLines(summary).join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString summaryAlignedText(const ResultsSummary& summary) {
    const QList<QStringList> rows = summaryTable(summary);
    std::vector<int> widths(std::size_t(rows.front().size()), 0);
    for (const QStringList& row : rows)
        for (qsizetype c = 0; c < row.size(); ++c)
            widths[std::size_t(c)] = std::max(widths[std::size_t(c)], cellWidth(row[c]));
    QString out;
    for (const QStringList& row : rows) {
        for (qsizetype c = 0; c < row.size(); ++c)
            appendAlignedCell(out, row[c], widths[std::size_t(c)]);
        out += QLatin1Char('\n');
    }
    return out;
}

QString summaryHtml(const ResultsSummary& summary) {
    QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body><table>");
    bool heading = true;
    for (const QStringList& row : summaryTable(summary)) {
        html += QStringLiteral("<tr>");
        for (const QString& cell : row) {
            html += heading ? QStringLiteral("<th>") : QStringLiteral("<td>");
            html += cell.toHtmlEscaped();
            html += heading ? QStringLiteral("</th>") : QStringLiteral("</td>");
        }
        html += QStringLiteral("</tr>");
        heading = false;
    }
    return html + QStringLiteral("</table></body></html>");
}

} // namespace tallyvane
