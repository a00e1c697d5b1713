#pragma once

#include <QString>

#include <cstddef>
#include <string_view>

namespace tallyvane {

// What both programs go by when they tell how a list is laid out in columns.

// The list's first bytes that tell its delimiter, header and likeliest
// column; the rest is read only once those are known.
inline constexpr std::size_t kLayoutSampleBytes = std::size_t(64) * 1024;

// A file whose name ends in .tsv (in any case) holds tab-separated values;
// one in .csv, comma- (or semicolon-) separated ones.
bool namedTsv(std::string_view fileName);
bool namedCsv(std::string_view fileName);
bool namedTsv(const QString& fileName);
bool namedCsv(const QString& fileName);

} // namespace tallyvane
