// The hand pointer's file, read by Qt's image plugin or by our own decoder:
// 32-bit, 8-bit and PNG entries, cursor and icon files, and broken files.
#include "platform/failure.h"
#include "platform/qt/qt_cursor_file.h"
#include "support/cursor_files.h"

#include <QImage>
#include <QTest>

using namespace tallyvane;
using namespace tallyvane::testing;

class TestQtCursorFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cursorFilesAreReadWithAndWithoutTheImagePlugin() {
        for (Entry kind : {Entry::Dib32, Entry::Dib8, Entry::Png}) {
            const QByteArray bytes = cursorFile(kind, {7, 9});
            for (CursorDecoding decoding :
                 {CursorDecoding::Automatic, CursorDecoding::OwnDecoderOnly}) {
                const CursorPicture picture = readCursorPicture(bytes, decoding);
                QCOMPARE(picture.hotSpot, QPoint(7, 9));
                const QImage image = picture.image.convertToFormat(QImage::Format_ARGB32);
                QCOMPARE(image.size(), QSize(16, 16));
                QCOMPARE(qAlpha(image.pixel(3, 0)), 0);
                QCOMPARE(image.pixel(3, 5), 0xffff0000u);
                QCOMPARE(image.pixel(12, 15), 0xff0000ffu);
            }
        }
        // An icon file serves too, with its centre as the hot spot.
        QCOMPARE(readCursorPicture(cursorFile(Entry::Png, {}, 1)).hotSpot, QPoint(7, 7));
        for (const QByteArray& bad :
             {QByteArray(), QByteArray("not a cursor at all, not at all"),
              cursorFile(Entry::Dib32, {1, 1}).left(60), cursorFile(Entry::Dib8, {1, 1}, 3)}) {
            try {
                readCursorPicture(bad, CursorDecoding::OwnDecoderOnly);
                QFAIL("a broken cursor file was accepted");
            } catch (const Failure& failure) {
                QCOMPARE(failure.description(), QStringLiteral("Invalid picture"));
            }
        }
    }
};

QTEST_MAIN(TestQtCursorFile)
#include "test_qt_cursor_file.moc"
