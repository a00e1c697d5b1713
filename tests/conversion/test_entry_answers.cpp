// Entries to results and the reasons behind "Not Found", through the shared
// core that the window's run and tallyvane-convert both use: from the text
// the window holds and from the UTF-8 bytes the batch program reads.
#include "batch/quick_entries.h"
#include "conversion/area_code.h"
#include "conversion/area_code_table.h"
#include "support/fakes.h"

#include <QTest>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

AreaCodeTable readTable() {
    FakeAreaCodeDatabase db;
    db.addRow("603", "NH", "New Hampshire");
    db.addRow("867", "NT", "Northwest Territories");
    db.addRow("867", "YT", "Yukon");
    db.special = {{"800", "toll-free", ""}, {"911", "service", ""}, {"876", "country", "Jamaica"}};
    return AreaCodeTable::read(*db.open());
}

} // namespace

class TestEntryAnswers : public QObject {
    Q_OBJECT
    const AreaCodeTable table_ = readTable();

private Q_SLOTS:
    void eachEntryGetsItsResultAndReason_data() {
        QTest::addColumn<bool>("states");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("reason");
        const auto rowsFor = [](bool states) {
            return [states](const char* tag, const char* entry, const char* result,
                            const char* reason = "") {
                QTest::newRow(tag) << states << QString::fromUtf8(entry)
                                   << QString::fromUtf8(result) << QString::fromUtf8(reason);
            };
        };
        const auto codes = rowsFor(false);
        // The designed forms are as they were.
        codes("dashed", "603-237-4934", "NH");
        codes("leading 1", "1-603-237-4934", "NH");
        codes("brackets", "(603) 237-4934", "NH");
        codes("plus one", "+1 603 237 4934", "NH");
        codes("bare", "603", "NH");
        codes("a tab before", "\t603", "NH");
        codes("plus one, no more", "+1", "Not Found", "no area code in this entry");
        codes("short foreign", "+33 1", "Not Found", "not a North American number (+33)");
        codes("a space after the plus", "+ 44 20", "Not Found",
              "not a North American number (+44)");
        codes("seventeen bytes", "+1 (603) 237-4934", "NH");
        codes("eight digits are a code", "86753091", "NT YT");
        // Plainly not North American: no state.
        codes("London", "+44 20 7946 0958", "Not Found", "not a North American number (+44)");
        codes("spaces before the plus", "  +49-30-1234567", "Not Found",
              "not a North American number (+49)");
        codes("a bracket after the plus", "+(353) 1 234 5678", "Not Found",
              "not a North American number (+353)");
        codes("one digit country", "+7 495 123 4567", "Not Found",
              "not a North American number (+7)");
        codes("a plus later is no country", "603 +44", "NH");
        // What a number copied from a web page or a contact export carries
        // around its plus looks like nothing, or like a space.
        const char* const london = "not a North American number (+44)";
        codes("a no-break space before the plus", "\u00A0+44 20 7946 0958", "Not Found", london);
        codes("a left-to-right mark before", "\u200E+44 20 7946 0958", "Not Found", london);
        codes("a right-to-left mark before", "\u200F+44 20 7946 0958", "Not Found", london);
        codes("an ideographic space before", "\u3000+44 20 7946 0958", "Not Found", london);
        codes("a no-break space after the plus", "+\u00A044 20 7946 0958", "Not Found", london);
        codes("a zero-width space after the plus", "+\u200B44 20 7946 0958", "Not Found", london);
        codes("two pluses", "++44 20 7946 0958", "Not Found", london);
        codes("a vCard label", "TEL;TYPE=CELL:+44 20 7946 0958", "Not Found", london);
        codes("quoted", "\"+44 20 7946 0958\"", "Not Found", london);
        codes("a label and a space", "Tel: +44 20 7946 0958", "Not Found", london);
        codes("short, behind a quote", "\"+44 1234567\"", "Not Found",
              "not a North American number (+44)");
        codes("short, behind a label", "T:+4412345678", "Not Found", london);
        codes("a plus before a letter marks nothing", "+a 603-237-4934", "NH");
        codes("a label before plus one", "Tel: +1 603 237 4934", "NH");
        codes("no country code begins with 0", "+0 603", "Not Found",
              "not a North American number (+0\u2026)");
        codes("seven digits", "867-5309", "Not Found", "a local number without its area code");
        codes("seven after the 1", "1-867-5309", "Not Found",
              "a local number without its area code");
        codes("seven after +1", "+1 867 5309", "Not Found", "a local number without its area code");
        codes("011 prefix", "011 44 20 7946 0958", "Not Found",
              "not a North American number (011)");
        codes("00 prefix", "00 44 20 7946 0958", "Not Found", "not a North American number (00)");
        // Codes that belong to no state, or to nothing.
        codes("empty", "", "Not Found", "no area code in this entry");
        codes("a state", "NH", "Not Found", "no area code in this entry");
        codes("two digits", "60", "Not Found", "no area code in this entry");
        codes("toll-free", "1-800-555-1212", "Not Found",
              "area code 800 is toll-free and belongs to no state");
        codes("service code", "911", "Not Found", "911 is a service code, not an area code");
        codes("another country of the plan", "876-555-0100", "Not Found",
              "area code 876 belongs to Jamaica, not to a US state or Canadian province");
        codes("not assigned", "999-555-0100", "Not Found", "area code 999 is not assigned");
        codes("no code begins with 1", "11-201", "Not Found",
              "120 cannot be an area code; area codes begin with 2 to 9");
        codes("only a 1", "1", "Not Found", "no area code in this entry");
        codes("digits of another script", "\uFF16\uFF10\uFF13", "Not Found",
              "no area code in this entry");
        // Past the code, the digits are counted eight bytes at a time: a
        // local number with words after it, and digits well past the eighth byte.
        codes("seven digits, then words", "867-5309 home", "Not Found",
              "a local number without its area code");
        codes("seven digits, then a long word", "867-5309 at the front desk", "Not Found",
              "a local number without its area code");
        codes("the eighth digit far on", "867-5309 the office, floor 2", "NT YT");
        // Ten digits are a whole number: a 1 in front is its code's, not the
        // country's. Only the number's digits count, not its extension's.
        codes("ten digits from 1", "(123) 456-7890", "Not Found",
              "123 cannot be an area code; area codes begin with 2 to 9");
        codes("ten digits from 14", "(141) 555-1234", "Not Found",
              "141 cannot be an area code; area codes begin with 2 to 9");
        codes("ten digits from 100", "(100) 555-1234", "Not Found",
              "100 cannot be an area code; area codes begin with 2 to 9");
        codes("ten bare digits from 1", "1205551234", "Not Found",
              "120 cannot be an area code; area codes begin with 2 to 9");
        codes("eleven digits", "16032374934", "NH");
        codes("eleven in brackets", "1 (603) 237-4934", "NH");
        codes("extension x", "603-237-4934 x12", "NH");
        codes("local with extension", "867-5309 x12", "Not Found",
              "a local number without its area code");
        codes("local with ext.", "867-5309 Ext. 1234", "Not Found",
              "a local number without its area code");
        codes("local with extension word", "867-5309 extension 12", "Not Found",
              "a local number without its area code");
        codes("local with EXT, upper case, past 16 bytes", "867-5309 EXT 1234", "Not Found",
              "a local number without its area code");
        codes("local with hash", "867-5309#12", "Not Found",
              "a local number without its area code");
        codes("local with ;ext=", "867-5309;EXT=12", "Not Found",
              "a local number without its area code");
        codes("ten with extension from 1", "123-456-7890 x5", "Not Found",
              "123 cannot be an area code; area codes begin with 2 to 9");
        codes("eleven with extension", "1-603-237-4934 ext 99", "NH");
        codes("the extension's digits make no code", "60 x3", "Not Found",
              "no area code in this entry");
        codes("a marker before any digit is no extension", "x603", "NH");

        const auto states = rowsFor(true);
        states("code", "NH", "603");
        states("name", "New Hampshire", "603");
        states("any case", "yUKON", "867");
        states("unknown", "Nowhere", "Not Found", "no state code or name matches");
        states("empty state", "", "Not Found", "no state code or name matches");
        states("a space before", " NH", "Not Found",
               "no state code or name matches; check spaces or punctuation around it");
        states("a space after", "NH ", "Not Found",
               "no state code or name matches; check spaces or punctuation around it");
        states("a full stop after", "N.H.", "Not Found",
               "no state code or name matches; check spaces or punctuation around it");
    }
    void eachEntryGetsItsResultAndReason() {
        QFETCH(bool, states);
        QFETCH(QString, entry);
        QFETCH(QString, result);
        QFETCH(QString, reason);
        const QByteArray utf8 = entry.toUtf8();
        const std::string_view bytes(utf8.constData(), std::size_t(utf8.size()));
        if (states) {
            QCOMPARE(table_.row(table_.areaCodesFor(entry)), result);
            QCOMPARE(table_.row(table_.areaCodesFor(bytes)), result);
            if (!reason.isEmpty()) {
                QCOMPARE(table_.reasons().forState(entry), reason);
                QCOMPARE(table_.reasons().utf8ForState(bytes), reason.toUtf8());
            }
            return;
        }
        // The readers: the window's text, the batch program's whole line,
        // its line in pieces (one character at a time) and its padded block.
        const AreaCode fromText = AreaCode::of(entry);
        AreaCode fromBytes;
        fromBytes.add(bytes.data(), bytes.data() + bytes.size());
        const AreaCode fromLine = AreaCode::ofUtf8(bytes);
        // The batch program's padded block: what lies past the entry must
        // not count, whether it looks like digits or like letters.
        for (const char* after : {"9999999999999999", "x#+1 x#+1 x#+1 x"}) {
            const QByteArray padded = utf8 + after;
            const std::string_view inBlock(padded.constData(), bytes.size());
            const AreaCode fromBlock = AreaCode::ofPaddedUtf8(inBlock);
            for (const AreaCode& other : {fromBytes, fromLine, fromBlock}) {
                QCOMPARE(other.kind(), fromText.kind());
                QCOMPARE(other.text(), fromText.text());
                QCOMPARE(other.countryDigits(), fromText.countryDigits());
            }
            const batch::EntrySpan span{inBlock.data(), inBlock.size()};
            std::uint16_t quick = 0;
            batch::quickSlots(&span, 1, &quick);
            if (quick != batch::kCarefulEntry) // else it is read as ofUtf8 reads it
                QCOMPARE(int(quick), fromText.kind() == AreaCode::Kind::Code
                                         ? fromText.slot()
                                         : int(batch::kLocalNumberSlot));
        }
        QCOMPARE(table_.row(table_.statesFor(fromText)), result);
        if (!reason.isEmpty()) {
            QCOMPARE(table_.reasons().forCode(fromText), reason);
            QCOMPARE(table_.reasons().utf8ForCode(fromBytes), reason.toUtf8());
        }
    }

    // A database without the table of special codes (made by an older build)
    // cannot tell a toll-free code from an unassigned one, and says no more
    // than it knows.
    void withoutSpecialCodesAMissingCodeIsJustMissing() {
        const NotFoundReasons reasons;
        QCOMPARE(reasons.forCode(AreaCode::of(QStringLiteral("800-555-1212"))),
                 QStringLiteral("area code 800 is not in the area-code table"));
    }
};

QTEST_GUILESS_MAIN(TestEntryAnswers)
#include "test_entry_answers.moc"
