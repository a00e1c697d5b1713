#pragma once

#include <QString>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// Which of a table's column names, or a workbook's sheet names, a person
// meant by a name: the one that is exactly it, or else the only one that is
// it but for the case of any letter and white space around it. None when no
// name is, or when several are it that loosely.
std::optional<std::size_t> nameMeant(const std::vector<std::string_view>& names,
                                     std::string_view wanted);
// Every name that is the wanted one but for case and white space around it.
std::vector<std::size_t> namesAlike(const std::vector<std::string_view>& names,
                                    std::string_view wanted);
std::vector<std::string_view> viewsOf(const std::vector<std::string>& names);

} // namespace tallyvane
