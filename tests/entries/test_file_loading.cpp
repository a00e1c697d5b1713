#include "entries/entry_splitter.h"
#include "entries/file_loading.h"
#include "support/fakes.h"
#include "support/temp_files.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

const QString kNotFound = QStringLiteral("File not found");

// The entries one file gives, loaded into a fresh list.
QStringList loadBytes(const QByteArray& bytes) {
    QTemporaryDir dir;
    FakePrompts prompts;
    ListModel list;
    LoadListFromFile(prompts, list, writeFile(dir, QStringLiteral("list.txt"), bytes));
    if (!prompts.shown.empty())
        qFatal("loading showed a message");
    return listTexts(list);
}

QStringList splitInChunks(const QByteArray& bytes, qsizetype chunk) {
    ListModel list;
    EntrySplitter splitter(list);
    for (qsizetype at = 0; at < bytes.size(); at += chunk)
        splitter.feed(bytes.constData() + at, std::size_t(std::min(chunk, bytes.size() - at)));
    splitter.finish();
    return listTexts(list);
}

QString s(const char* text) {
    return QString::fromUtf8(text);
}

// The text as a UTF-16 file with its byte-order mark.
QByteArray utf16(const QString& text, bool bigEndian) {
    QByteArray bytes(bigEndian ? "\xFE\xFF" : "\xFF\xFE");
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8), low = char(c.unicode() & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

} // namespace

class TestFileLoading : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lineRules_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("CR LF, blank line kept")
            << QByteArray("nh\r\n\r\n603\r\n") << QStringList{s("NH"), s(""), s("603")};
        QTest::newRow("CR LF without final line end")
            << QByteArray("nh\r\n\r\n603") << QStringList{s("NH"), s(""), s("603")};
        QTest::newRow("LF: only the last line upper-cased")
            << QByteArray("nh\nny\nct") << QStringList{s("nh"), s("ny"), s("CT")};
        QTest::newRow("LF with final LF: one empty entry")
            << QByteArray("nh\nny\nct\n") << QStringList{s("nh"), s("ny"), s("ct"), s("")};
        QTest::newRow("lone CR") << QByteArray("nh\rny\r\rct")
                                 << QStringList{s("NH"), s("NY"), s(""), s("CT")};
        QTest::newRow("LF inside a CR LF line")
            << QByteArray("a\nb\r\nc") << QStringList{s("a"), s("B"), s("C")};
        QTest::newRow("LF after a CR LF")
            << QByteArray("a\r\n\nb") << QStringList{s("A"), s(""), s("B")};
        QTest::newRow("one blank line") << QByteArray("\r\n") << QStringList{s("")};
        QTest::newRow("a lone LF") << QByteArray("\n") << QStringList{s(""), s("")};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("texts as they are")
            << QByteArray("  new york, ny \r\n# not a comment\r\nnh,ct\r\nnh\r\n")
            << QStringList{s("  NEW YORK, NY "), s("# NOT A COMMENT"), s("NH,CT"), s("NH")};
        QTest::newRow("UTF-8") << QByteArray("s\xC3\xA3o paulo\r\n\xE6\x9D\xB1\xE4\xBA\xAC\r\n")
                               << QStringList{s("SÃO PAULO"), s("東京")};
        QTest::newRow("invalid UTF-8 read as Latin-1, per line")
            << QByteArray("s\xE3o paulo\r\ns\xC3\xA3o\r\n")
            << QStringList{s("SÃO PAULO"), s("SÃO")};
        QTest::newRow("UTF-8 byte-order mark dropped")
            << QByteArray("\xEF\xBB\xBFnh\r\n\xEF\xBB\xBF"
                          "ct\r\n")
            << QStringList{s("NH"), QString(QChar(0xFEFF)) + s("CT")}; // only the leading one
        QTest::newRow("UTF-16 LE, CR LF") << utf16(s("nh\r\n\r\ns\u00e3o paulo\r\n"), false)
                                          << QStringList{s("NH"), s(""), s("SÃO PAULO")};
        QTest::newRow("UTF-16 LE without its mark")
            << utf16(s("nh\r\n\r\ns\u00e3o paulo\r\n"), false).mid(2)
            << QStringList{s("NH"), s(""), s("SÃO PAULO")};
        QTest::newRow("UTF-16 BE, LF with final LF")
            << utf16(s("nh\nny\n"), true) << QStringList{s("nh"), s("ny"), s("")};
        QTest::newRow("UTF-16 surrogate pair, lone CR, LF inside a line")
            << utf16(s("\U0001D49C\u0101\ra\nb"), false)
            << QStringList{s("\U0001D49C\u0100"), s("a"), s("B")};
        QTest::newRow("UTF-16 odd last byte and lone surrogate")
            << utf16(s("ny"), false) + QByteArray("\x00\xD8z\x00q", 5)
            << QStringList{s("NY\uFFFDZ\uFFFD")};
        QTest::newRow("marks alone") << QByteArray("\xFF\xFE") << QStringList{};
        QTest::newRow("only the start of a mark") << QByteArray("\xEF\xBB") << QStringList{s("Ï»")};
        QTest::newRow("NUL bytes past the first 8 KB kept")
            << QByteArray(8192, 'x') + QByteArray("\r\na\0b\r\n\0\r\n", 10)
            << QStringList{QString(8192, QLatin1Char('X')), QString::fromLatin1("A\0B", 3),
                           QString(1, QChar(0))};
    }

    void lineRules() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, entries);
        QCOMPARE(loadBytes(bytes), entries);
    }

    void chunkBoundariesChangeNothing() {
        const QByteArray bytes("ab\r\ncd\ref\ngh\r\n\n\xC3\xA9x\r\r\n\xE9\n");
        const QStringList entries{s("AB"), s("CD"), s("ef"), s("GH"), s(""),
                                  s("ÉX"), s(""),   s("é"),  s("")};
        const QString text = s("ab\r\ncd\ref\ngh\r\n\n\u00e9x\r\r\n\u00e9\n");
        for (const QByteArray& file : {bytes, "\xEF\xBB\xBF" + bytes, utf16(text, false),
                                       utf16(text, true), utf16(text, false).mid(2)}) {
            for (qsizetype chunk = 1; chunk <= file.size(); ++chunk)
                QCOMPARE(splitInChunks(file, chunk), entries);
        }
    }

    void blockBoundaryAndLongLines() {
        // A CR LF split across the reader's 1 MiB blocks, and a line longer than a block.
        const qsizetype block = 1 << 20;
        QByteArray bytes(block - 1, 'x');
        bytes += "\r\nnext\r\n";
        bytes += QByteArray(3 * block, 'y');
        bytes += "\nlast";
        const QStringList entries = loadBytes(bytes);
        QCOMPARE(entries.size(), 4);
        QCOMPARE(entries[0], QString(block - 1, QLatin1Char('X')));
        QCOMPARE(entries[1], s("NEXT"));
        QCOMPARE(entries[2], QString(3 * block, QLatin1Char('y')));
        QCOMPARE(entries[3], s("LAST"));
    }

    void upperCaseIsQtsOwnForEveryAsciiCharacter() {
        QByteArray bytes;
        for (int b = 0; b < 128; ++b) {
            if (b != '\r' && b != '\n')
                bytes += char(b);
        }
        const QByteArray file = bytes + "\n" + bytes;
        QCOMPARE(splitInChunks(file, file.size()),
                 QStringList({QString::fromLatin1(bytes), QString::fromLatin1(bytes).toUpper()}));
    }

    void everyByteSurvivesABinaryFile() {
        QByteArray bytes;
        for (int round = 0; round < 64; ++round) {
            for (int b = 0; b < 256; ++b) {
                if (b != '\r' && b != '\n')
                    bytes += char(b);
            }
        }
        const QStringList entries = splitInChunks(bytes, bytes.size());
        QCOMPARE(entries, QStringList{QString::fromLatin1(bytes).toUpper()});
    }

    // A file that is not text is named and refused, never read as entries:
    // told by its first bytes, whatever its name.
    void filesThatAreNotTextAreRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("looks");
        QTest::newRow("zero bytes") << QByteArray("603\n\0\0\x01", 7) << s("binary data");
        QTest::newRow("PDF") << QByteArray("%PDF-1.7\n%\xE2\xE3\xCF\xD3\n1 0 obj\n")
                             << s("a PDF document");
        QTest::newRow("PDF without its binary comment")
            << QByteArray("%PDF-1.7\n1 0 obj\n<< /Type /Catalog >>\nendobj\n")
            << s("a PDF document");
        QTest::newRow("program") << QByteArray("\x7F"
                                               "ELF\x02\x01")
                                 << s("a program");
        QTest::newRow("archive") << QByteArray("PK\x03\x04notes.txt") << s("a ZIP archive");
        QTest::newRow("document")
            << QByteArray("PK\x03\x04[Content_Types].xml PK\x03\x04word/document.xml")
            << s("a word-processor document");
    }
    void filesThatAreNotTextAreRefused() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, looks);
        QTemporaryDir dir;
        FakePrompts prompts;
        ListModel list;
        list.append(s("kept"));
        const QString path = writeFile(dir, QStringLiteral("list.txt"), bytes);
        LoadListFromFile(prompts, list, path);
        QCOMPARE(listTexts(list), QStringList{s("kept")});
        QCOMPARE(prompts.shown.size(), std::size_t(1));
        QVERIFY(prompts.shown[0].text.startsWith(path + s(" is not a text file (it looks like ") +
                                                 looks));
    }

    void aVeryLongSingleLine() {
        // 200 MB without a line end: one entry, no crash, no hang.
        const qsizetype size = 200LL * 1024 * 1024;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("long.txt"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            const QByteArray chunk(1 << 20, 'a');
            for (qsizetype written = 0; written < size; written += chunk.size())
                QCOMPARE(file.write(chunk), chunk.size());
        }
        FakePrompts prompts;
        ListModel list;
        LoadListFromFile(prompts, list, path);
        QCOMPARE(list.count(), 1);
        QCOMPARE(list.text(1).size(), size);
        QVERIFY(list.text(1).startsWith(s("AAAA")));
    }

    void missingFileShowsFileNotFound() {
        QTemporaryDir dir;
        FakePrompts prompts;
        ListModel list;
        list.append(s("kept"));
        LoadListFromFile(prompts, list, dir.filePath(QStringLiteral("absent.txt")));
        QCOMPARE(prompts.shown.size(), size_t(1));
        QCOMPARE(prompts.shown[0].text, kNotFound);
        QCOMPARE(prompts.shown[0].style, 0);
        QCOMPARE(prompts.shown[0].title, s("Tallyvane"));
        QCOMPARE(listTexts(list), QStringList{s("kept")});
    }

    void unreadableFilesThrowTheSystemsText() {
        QTemporaryDir dir;
        FakePrompts prompts;
        ListModel list;
        list.append(s("kept"));
        try {
            LoadListFromFile(prompts, list, dir.path());
            QFAIL("a directory loaded");
        } catch (const Failure& failure) {
            QCOMPARE(failure.description(), s("Is a directory: ") + dir.path());
        }
        // A pipe with no writer must neither block nor load.
        const QString fifo = dir.filePath(QStringLiteral("pipe.txt"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY_THROWS_EXCEPTION(Failure, LoadListFromFile(prompts, list, fifo));
        QVERIFY_THROWS_EXCEPTION(Failure, LoadListFromFile(prompts, list, s("/dev/zero")));
        QCOMPARE(listTexts(list), QStringList{s("kept")});
        QVERIFY(prompts.shown.empty());
    }

    void fileWithoutReadPermission() {
        if (::geteuid() == 0)
            QSKIP("root reads every file regardless of its permissions");
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("locked.txt"), "nh\r\n");
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        FakePrompts prompts;
        ListModel list;
        try {
            LoadListFromFile(prompts, list, path);
            QFAIL("an unreadable file loaded");
        } catch (const Failure& failure) {
            QCOMPARE(failure.description(), s("Permission denied"));
        }
        QCOMPARE(list.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestFileLoading)
#include "test_file_loading.moc"
