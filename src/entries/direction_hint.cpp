#include "entries/direction_hint.h"

#include "conversion/area_code_table.h"
#include "entries/column_lists.h"
#include "lists/list_view.h"

#include <algorithm>

namespace tallyvane {

namespace {

constexpr int kLookedAt = 1000;

// The positions looked at: every one of a short list, a thousand spread over
// a long one (a run of ten million needs no ten million reads to be judged).
template <class Look> void spreadOver(int count, Look&& look) {
    const int step = std::max(1, count / kLookedAt);
    for (int position = 1; position <= count; position += step)
        look(position);
}

bool everyResultNotFound(const ListView& results) {
    bool every = results.count() > 0;
    spreadOver(results.count(), [&](int position) {
        every = every && AreaCodeTable::isNotFound(results.text(position));
    });
    return every;
}

} // namespace

QString directionHint(const ListView& entries, const ListView& results, Direction ran) {
    if (entries.count() == 0 || !everyResultNotFound(results))
        return {};
    const bool ranAsStates = ran == Direction::StatesToAreaCodes;
    int looked = 0, looking = 0;
    spreadOver(entries.count(), [&](int position) {
        const QString entry = entries.text(position);
        looking += ranAsStates ? looksLikeAreaCodeEntry(entry) : looksLikeStateEntry(entry);
        ++looked;
    });
    if (2 * looking <= looked)
        return {};
    return ranAsStates ? QStringLiteral("Every entry gave \"Not Found\", and most look like phone "
                                        "numbers: \"Convert Area Codes To States\" converts them.")
                       : QStringLiteral("Every entry gave \"Not Found\", and most look like "
                                        "states: \"Convert States To Area Codes\" converts them.");
}

} // namespace tallyvane
