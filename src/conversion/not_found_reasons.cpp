#include "conversion/not_found_reasons.h"

#include <algorithm>
#include <array>

namespace tallyvane {

namespace {

// The two-digit country codes of the world's numbering zones; 7 is the only
// other single digit after 1, and every other code has three digits.
constexpr std::array<int, 44> kTwoDigitCountries = {
    20, 27, 30, 31, 32, 33, 34, 36, 39, 40, 41, 43, 44, 45, 46, 47, 48, 49, 51, 52, 53, 54,
    55, 56, 57, 58, 60, 61, 62, 63, 64, 65, 66, 81, 82, 84, 86, 90, 91, 92, 93, 94, 95, 98};

QString digits(int length, int value) {
    return length == 0 ? QString() : QStringLiteral("%1").arg(value, length, 10, QLatin1Char('0'));
}

// The country code among the first digits after a "+".
QString countryCode(const QString& first) {
    if (first.startsWith(u'0')) // no country code begins with 0: the rest says nothing
        return QStringLiteral("0\u2026");
    if (first.startsWith(u'7'))
        return first.left(1);
    if (first.size() >= 2 && std::find(kTwoDigitCountries.begin(), kTwoDigitCountries.end(),
                                       first.left(2).toInt()) != kTwoDigitCountries.end())
        return first.left(2);
    return first;
}

// What the special codes' kinds are, in the words of a phrase about one.
QString kindPhrase(const QString& code, const SpecialCode& special) {
    const QString area = QStringLiteral("area code ") + code;
    const QString noState = QStringLiteral(" and belongs to no state");
    const QString& kind = special.kind;
    if (kind == u"toll-free")
        return area + QStringLiteral(" is toll-free") + noState;
    if (kind == u"premium-rate")
        return area + QStringLiteral(" is for premium-rate calls") + noState;
    if (kind == u"personal-communications")
        return area + QStringLiteral(" is for personal communications services") + noState;
    if (kind == u"canadian-non-geographic")
        return area +
               QStringLiteral(" is a Canadian non-geographic code and belongs to no province");
    if (kind == u"us-government")
        return area + QStringLiteral(" is reserved for the US government") + noState;
    if (kind == u"inter-exchange")
        return area + QStringLiteral(" is for long-distance carriers' own services") + noState;
    if (kind == u"international-inbound")
        return area + QStringLiteral(" is for calls into North America from abroad") + noState;
    if (kind == u"service")
        return code + QStringLiteral(" is a service code, not an area code");
    if (kind == u"country")
        return area + QStringLiteral(" belongs to ") + special.place +
               QStringLiteral(", not to a US state or Canadian province");
    return area + QStringLiteral(" is reserved by NANPA") + noState;
}

} // namespace

NotFoundReasons::NotFoundReasons(std::vector<SpecialCode> special)
    : special_(std::move(special)), codePhrases_(std::make_shared<CodePhrases>()),
      local_(phrase(QStringLiteral("a local number without its area code"))),
      state_(phrase(QStringLiteral("no state code or name matches"))),
      stateLooseEnds_(phrase(
          QStringLiteral("no state code or name matches; check spaces or punctuation around it"))) {
}

const NotFoundReasons::CodePhrases& NotFoundReasons::codePhrases() const {
    CodePhrases& made = *codePhrases_;
    std::call_once(made.made, [&] {
        made.byCode.reserve(AreaCode::kSlots);
        made.byCountry.reserve(AreaCode::kSlots);
        for (int length = 0, count = 1; length <= 3; ++length, count *= 10) {
            for (int value = 0; value < count; ++value) {
                made.byCode.push_back(
                    phrase(codePhrase(length, value, !special_.empty(), special_)));
                made.byCountry.push_back(phrase(QStringLiteral("not a North American number (+%1)")
                                                    .arg(countryCode(digits(length, value)))));
            }
        }
    });
    return made;
}

QString NotFoundReasons::codePhrase(int length, int value, bool specialsKnown,
                                    const std::vector<SpecialCode>& special) {
    if (length < 3)
        return QStringLiteral("no area code in this entry");
    const QString code = digits(3, value);
    if (code.startsWith(u"011"))
        return QStringLiteral("not a North American number (011)");
    if (code.startsWith(u"00"))
        return QStringLiteral("not a North American number (00)");
    if (code.front() == u'0' || code.front() == u'1')
        return code + QStringLiteral(" cannot be an area code; area codes begin with 2 to 9");
    const auto found = std::find_if(special.begin(), special.end(),
                                    [&](const SpecialCode& s) { return s.code == code; });
    if (found != special.end())
        return kindPhrase(code, *found);
    if (!specialsKnown)
        return QStringLiteral("area code ") + code +
               QStringLiteral(" is not in the area-code table");
    return QStringLiteral("area code ") + code + QStringLiteral(" is not assigned");
}

const NotFoundReasons::Phrase& NotFoundReasons::phrase(const AreaCode& code) const {
    switch (code.kind()) {
    case AreaCode::Kind::OtherCountry:
        return codePhrases()
            .byCountry[std::size_t(AreaCode::slotOf(code.countryLength(), code.countryDigits()))];
    case AreaCode::Kind::LocalNumber:
        return local_;
    case AreaCode::Kind::Code:
        break;
    }
    return codePhrases().byCode[std::size_t(code.slot())];
}

const QString& NotFoundReasons::forState(QStringView entry) const {
    const bool looseEnds =
        !entry.isEmpty() && (entry.front() == u' ' || entry.back() == u' ' || entry.back() == u'.');
    return statePhrase(looseEnds).text;
}

const QByteArray& NotFoundReasons::utf8ForState(std::string_view entry) const {
    const bool looseEnds =
        !entry.empty() && (entry.front() == ' ' || entry.back() == ' ' || entry.back() == '.');
    return statePhrase(looseEnds).utf8;
}

} // namespace tallyvane
