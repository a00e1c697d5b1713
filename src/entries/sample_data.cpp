#include "entries/sample_data.h"

#include "commands/procedure.h"
#include "lists/list_view.h"

#include <array>

namespace tallyvane {

namespace {

const QString kLocation =
    locationText(QStringLiteral("Form1"), QStringLiteral("PushButton7_Click"));

struct SampleEntry {
    int line;
    const char* literal;
};

// One of each entry form the conversion understands: a state code, bare area
// codes, a state name and telephone numbers with and without the leading 1.
constexpr std::array<SampleEntry, 8> kSamples{{
    {100, "NH"},
    {102, "603"},
    {104, "New Hampshire"},
    {106, "201"},
    {108, "609"},
    {110, "732"},
    {112, "603-237-4934"},
    {114, "1-603-237-4934"},
}};

} // namespace

void PushButton7_Click(Prompts& prompts, ListView& entries) {
    Procedure p(prompts, kLocation);
    for (const SampleEntry& sample : kSamples)
        p.step(sample.line, [&] { entries.append(QString::fromLatin1(sample.literal).toUpper()); });
}

} // namespace tallyvane
