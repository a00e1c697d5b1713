#pragma once

#include "conversion/area_code.h"
#include "platform/area_code_database.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace tallyvane {

// Why an entry found nothing, as one short phrase a person understands: an
// entry with no area code, a number of another country or a local one, a
// code that belongs to no state (toll-free, a service code, another country
// of the plan...), one not assigned at all, or a state entry that matches no
// code or name. The phrases of every code are made once, when a reason is
// first asked for, so that a reason costs a lookup and a run that asks for
// none (most batch runs) does not pay for two thousand phrases at start.
class NotFoundReasons {
public:
    // Codes that belong to no state, with what they are; without them (an
    // older database) a code missing from the table is said to be just that.
    explicit NotFoundReasons(std::vector<SpecialCode> special = {});

    // For an area-code entry whose code found nothing.
    const QString& forCode(const AreaCode& code) const { return phrase(code).text; }
    const QByteArray& utf8ForCode(const AreaCode& code) const { return phrase(code).utf8; }
    // For a state entry that matched nothing.
    const QString& forState(QStringView entry) const;
    const QByteArray& utf8ForState(std::string_view entry) const;

private:
    struct Phrase {
        QString text;
        QByteArray utf8;
    };
    static Phrase phrase(const QString& text) { return {text, text.toUtf8()}; }
    const Phrase& phrase(const AreaCode& code) const;
    static QString codePhrase(int length, int value, bool specialsKnown,
                              const std::vector<SpecialCode>& special);
    const Phrase& statePhrase(bool looseEnds) const { return looseEnds ? stateLooseEnds_ : state_; }

    // Made by the first thread that asks; copies of the table share them.
    struct CodePhrases {
        std::once_flag made;
        std::vector<Phrase> byCode;    // by AreaCode slot
        std::vector<Phrase> byCountry; // by AreaCode slot of the country's digits
    };
    const CodePhrases& codePhrases() const;

    std::vector<SpecialCode> special_;
    std::shared_ptr<CodePhrases> codePhrases_;
    Phrase local_;
    Phrase state_;
    Phrase stateLooseEnds_;
};

} // namespace tallyvane
