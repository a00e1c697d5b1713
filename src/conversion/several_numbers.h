#pragma once

#include <QList>
#include <QStringView>

#include <string_view>
#include <vector>

namespace tallyvane {

// Contact exports (Google's among them) keep several numbers in one cell,
// joined by " ::: ". Each is answered by itself, and the answers are joined
// the same way ("NH ::: NY"), in both programs.
inline constexpr std::string_view kSeveralNumbersMark = ":::";
inline constexpr std::string_view kSeveralNumbersJoin = " ::: ";

namespace several_numbers_detail {
inline std::string_view trimmed(std::string_view part) {
    while (!part.empty() && (part.front() == ' ' || part.front() == '\t'))
        part.remove_prefix(1);
    while (!part.empty() && (part.back() == ' ' || part.back() == '\t'))
        part.remove_suffix(1);
    return part;
}
inline QStringView trimmed(QStringView part) {
    while (!part.empty() && (part.front() == u' ' || part.front() == u'\t'))
        part = part.sliced(1);
    while (!part.empty() && (part.back() == u' ' || part.back() == u'\t'))
        part.chop(1);
    return part;
}
} // namespace several_numbers_detail

// The numbers of an entry that holds several; none for an entry without the mark.
inline std::vector<std::string_view> severalNumbers(std::string_view entry) {
    std::vector<std::string_view> parts;
    if (entry.find(kSeveralNumbersMark) == std::string_view::npos)
        return parts;
    for (std::size_t at = 0;;) {
        const std::size_t mark = entry.find(kSeveralNumbersMark, at);
        parts.push_back(several_numbers_detail::trimmed(entry.substr(at, mark - at)));
        if (mark == std::string_view::npos)
            return parts;
        at = mark + kSeveralNumbersMark.size();
    }
}

inline QList<QStringView> severalNumbers(QStringView entry) {
    QList<QStringView> parts;
    const QLatin1String mark(kSeveralNumbersMark.data(), qsizetype(kSeveralNumbersMark.size()));
    if (!entry.contains(mark))
        return parts;
    for (qsizetype at = 0;;) {
        const qsizetype found = entry.indexOf(mark, at);
        const QStringView part = found < 0 ? entry.sliced(at) : entry.sliced(at, found - at);
        parts << several_numbers_detail::trimmed(part);
        if (found < 0)
            return parts;
        at = found + mark.size();
    }
}

} // namespace tallyvane
