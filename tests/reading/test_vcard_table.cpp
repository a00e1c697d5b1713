// vCard files as phones and address books export them, in each version,
// read as the table of contacts: one row a telephone number.
#include "entries/column_lists.h"
#include "entries/list_file.h"
#include "lists/list_model.h"
#include "reading/file_kind.h"
#include "reading/vcard_table.h"
#include "support/fakes.h"
#include "support/temp_files.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tallyvane;
using namespace tallyvane::testing;

class TestVCardTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cardsBecomeRows_data() {
        QTest::addColumn<QByteArray>("vcf");
        QTest::addColumn<QByteArray>("csv");
        QTest::newRow("2.1: bare types, quoted-printable across a soft break")
            << QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\n"
                          "FN;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:J=C3=B6rg=\r\n=20Meier\r\n"
                          "TEL;CELL;VOICE:212-555-0147\r\nTEL;HOME:603-237-4934\r\nEND:VCARD\r\n")
            << QByteArray("Name,Type,Phone\nJ\xC3\xB6rg Meier,\"cell,voice\",212-555-0147\n"
                          "J\xC3\xB6rg Meier,home,603-237-4934\n");
        QTest::newRow("3.0: TYPE=, an escaped comma, a folded number")
            << QByteArray(
                   "BEGIN:VCARD\nVERSION:3.0\nFN:Doe\\, Jane\nTEL;TYPE=CELL:+44 20 7946 0958\n"
                   "TEL;TYPE=WORK,VOICE:(603) 237-49\n 34\nEND:VCARD\n")
            << QByteArray("Name,Type,Phone\n\"Doe, Jane\",cell,+44 20 7946 0958\n"
                          "\"Doe, Jane\",\"work,voice\",(603) 237-4934\n");
        QTest::newRow("4.0: a tel: URI, a quoted type list, a group")
            << QByteArray("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Uri\r\n"
                          "item1.TEL;VALUE=uri;TYPE=\"voice,home\":tel:+1-206-555-3254\r\n"
                          "END:VCARD\r\n")
            << QByteArray("Name,Type,Phone\nUri,\"voice,home\",+1-206-555-3254\n");
        QTest::newRow("a contact without a number keeps its row")
            << QByteArray("BEGIN:VCARD\nVERSION:4.0\nFN:Nobody\nEMAIL:n@example.com\nEND:VCARD\n")
            << QByteArray("Name,Type,Phone\nNobody,,\n");
        QTest::newRow("a TEL without a type, a card cut short")
            << QByteArray("BEGIN:VCARD\nVERSION:3.0\nFN:Ann\nTEL:603\n")
            << QByteArray("Name,Type,Phone\nAnn,,603\n");
    }
    void cardsBecomeRows() {
        QFETCH(QByteArray, vcf);
        QFETCH(QByteArray, csv);
        const std::string_view text(vcf.constData(), std::size_t(vcf.size()));
        QVERIFY(looksLikeVCard(text));
        QCOMPARE(fileLooks(std::string(text)).kind, FileKind::VCard);
        QCOMPARE(QByteArray::fromStdString(vcardCsv(text)), csv);
        // Fed a byte at a time, as a pipe may bring it: the same rows.
        std::string rows;
        VCardTable table([&rows](std::string_view piece) { rows.append(piece); });
        for (const char byte : text)
            table.feed(std::string_view(&byte, 1));
        table.finish();
        QCOMPARE(QByteArray::fromStdString(rows), csv);
    }

    // The window: the column dialog opens on the contacts with Phone chosen.
    void theWindowOffersThePhoneColumn() {
        QTemporaryDir dir;
        const QString path =
            writeFile(dir, QStringLiteral("contacts.vcf"),
                      "BEGIN:VCARD\nVERSION:3.0\nFN:Ann\nTEL;TYPE=CELL:603-237-4934\n"
                      "TEL:212-555-0147\nEND:VCARD\n");
        FakePrompts prompts;
        prompts.columnAnswers = {2};
        ListModel list;
        RememberedColumns remembered;
        const ColumnReading reading{Direction::AreaCodesToStates, remembered};
        LoadListFromFile(prompts, list, path, MissingFile::Named, &reading);
        QCOMPARE(prompts.columnQuestions.size(), std::size_t(1));
        QCOMPARE(prompts.columnQuestions[0].likeliest, 2);
        QVERIFY(prompts.columnQuestions[0].header);
        QCOMPARE(listTexts(list), (QStringList{"603-237-4934", "212-555-0147"}));
    }
};

QTEST_GUILESS_MAIN(TestVCardTable)
#include "test_vcard_table.moc"
