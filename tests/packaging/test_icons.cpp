// The icons the package installs are one drawing at every size: the desktop
// picks whichever size suits, and a different picture at one of them looks
// like a different program.
#include <QImage>
#include <QTest>

#include <cstdlib>

namespace {

QImage icon(int size) {
    const QImage image(
        QStringLiteral(TALLYVANE_SOURCE_DIR "/packaging/icons/io.github.veltmark.tallyvane-%1.png")
            .arg(size));
    return image.convertToFormat(QImage::Format_ARGB32);
}

// The mean difference of two pictures of one size, 0 to 1, over every channel.
double difference(const QImage& a, const QImage& b) {
    double total = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            total += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                     std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
        }
    return total / (4.0 * 255 * a.width() * a.height());
}

} // namespace

class TestIcons : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everySizeIsTheSameDrawing_data() {
        QTest::addColumn<int>("size");
        for (const int size : {48, 64, 128})
            QTest::addRow("%d", size) << size;
    }
    void everySizeIsTheSameDrawing() {
        QFETCH(int, size);
        const QImage largest = icon(256);
        const QImage image = icon(size);
        QCOMPARE(image.size(), QSize(size, size));
        const QImage reference =
            largest.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const double apart = difference(image, reference);
        QVERIFY2(apart < 0.03, qPrintable(QString::number(apart)));
    }
};

QTEST_GUILESS_MAIN(TestIcons)
#include "test_icons.moc"
