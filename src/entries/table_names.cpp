#include "entries/table_names.h"

#include <algorithm>

namespace tallyvane {

namespace {

bool endsWithAnyCase(std::string_view name, std::string_view suffix) {
    return name.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), name.end() - std::ptrdiff_t(suffix.size()),
                      [](char want, char got) {
                          return want == (got >= 'A' && got <= 'Z' ? char(got + 32) : got);
                      });
}

} // namespace

bool namedTsv(std::string_view fileName) {
    return endsWithAnyCase(fileName, ".tsv");
}

bool namedCsv(std::string_view fileName) {
    return endsWithAnyCase(fileName, ".csv");
}

bool namedTsv(const QString& fileName) {
    return namedTsv(std::string_view(fileName.right(4).toStdString()));
}

bool namedCsv(const QString& fileName) {
    return namedCsv(std::string_view(fileName.right(4).toStdString()));
}

} // namespace tallyvane
