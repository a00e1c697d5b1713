#include "app/qt/summary_image.h"

#include "app/qt/state_map.h"
#include "commands/procedure.h"
#include "platform/file_dialog.h"
#include "platform/prompts.h"
#include "platform/window_services.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace tallyvane {

namespace {

const QString kLocation = locationText(QStringLiteral("Summary"), QStringLiteral("SaveMapAsImage"));

void writeSvg(const StateMap& map, QSaveFile& file) {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(map.size());
    svg.setViewBox(QRect(QPoint(0, 0), map.size()));
    svg.setTitle(QStringLiteral("Entries by state"));
    QPainter painter;
    if (!painter.begin(&svg))
        throw Failure(QStringLiteral("The drawing could not be started"));
    map.render(painter, QRectF(QPointF(0, 0), map.size()));
    painter.end();
}

void writePng(const StateMap& map, QSaveFile& file) {
    const qreal scale = map.devicePixelRatioF();
    QImage image(map.size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(map.palette().color(QPalette::Window));
    {
        QPainter painter(&image);
        map.render(painter, QRectF(QPointF(0, 0), map.size()));
    }
    if (!image.save(&file, "PNG"))
        throw Failure(file.errorString());
}

} // namespace

void SaveMapAsImage(Prompts& prompts, FileDialog& dialog, WindowServices& window,
                    const StateMap& map) {
    Procedure p(prompts, kLocation);
    p.step(100, [&] { dialog.setFileName(QStringLiteral("summary-map.png")); });
    p.step(102, [&] {
        dialog.setFlags(DialogFlag::Explorer | DialogFlag::LongNames | DialogFlag::OverwritePrompt);
    });
    p.step(104, [&] { dialog.setTitle(QStringLiteral("Save Map As Image")); });
    p.step(106, [&] {
        dialog.setFilter(QStringLiteral(
            "PNG Images (*.png)|*.png|SVG Drawings (*.svg)|*.svg|All Files (*.*)|*.*|"));
    });
    QString path = p.value(108, QString(), [&] { return dialog.showSave(); });
    if (path.isEmpty()) // Cancel
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".png");
    p.step(110, [&] { window.setPointer(Pointer::Busy); });
    p.step(112, [&] {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            throw Failure(file.errorString());
        if (QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0)
            writeSvg(map, file);
        else
            writePng(map, file);
        if (file.error() != QFileDevice::NoError)
            throw Failure(file.errorString());
        if (!file.commit())
            throw Failure(file.errorString());
    });
    p.step(114, [&] { window.setPointer(Pointer::Default); });
    if (p.failures() == 0)
        p.step(116, [&] { prompts.messageBox(QStringLiteral("Done.")); });
}

} // namespace tallyvane
