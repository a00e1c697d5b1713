#pragma once

#include "platform/file_dialog.h"

#include <QPointer>
#include <QWidget>

namespace tallyvane {

class QtFileDialog : public FileDialog {
public:
    explicit QtFileDialog(QWidget* parent) : parent_(parent) {}
    void setFileName(const QString& fileName) override { fileName_ = fileName; }
    void setFlags(long flags) override { flags_ = flags; }
    void setTitle(const QString& title) override { title_ = title; }
    void setFilter(const QString& filter) override { filter_ = filter; }
    QStringList showOpen() override;
    QString showSave() override;

private:
    QPointer<QWidget> parent_;
    QString fileName_;
    long flags_ = 0;
    QString title_;
    QString filter_;
};

// "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|" as Qt's name filters. "*.*"
// means every file, which on this platform is "*".
QString qtNameFilters(const QString& filter);

} // namespace tallyvane
