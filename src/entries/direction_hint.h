#pragma once

#include "conversion/direction.h"

#include <QString>

namespace tallyvane {

class ListView;

// The line shown under the results list after a run in which every entry gave
// "Not Found" while most entries look like the other direction's (phone
// numbers converted as states, or states as area codes); empty otherwise.
// At most a thousand entries and results, spread over the lists, are looked at.
QString directionHint(const ListView& entries, const ListView& results, Direction ran);

} // namespace tallyvane
