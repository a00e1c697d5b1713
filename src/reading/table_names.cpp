#include "reading/table_names.h"

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

std::vector<std::size_t> namesAlike(const std::vector<std::string_view>& names,
                                    std::string_view wanted) {
    const auto loosely = [](std::string_view name) {
        return QString::fromUtf8(name.data(), qsizetype(name.size())).trimmed().toCaseFolded();
    };
    const QString folded = loosely(wanted);
    std::vector<std::size_t> alike;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (loosely(names[i]) == folded)
            alike.push_back(i);
    return alike;
}

std::optional<std::size_t> nameMeant(const std::vector<std::string_view>& names,
                                     std::string_view wanted) {
    const auto exact = std::find(names.begin(), names.end(), wanted);
    if (exact != names.end())
        return std::size_t(exact - names.begin());
    const std::vector<std::size_t> alike = namesAlike(names, wanted);
    return alike.size() == 1 ? std::optional<std::size_t>(alike.front()) : std::nullopt;
}

std::vector<std::string_view> viewsOf(const std::vector<std::string>& names) {
    return {names.begin(), names.end()};
}

} // namespace tallyvane
