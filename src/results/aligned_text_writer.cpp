#include "results/aligned_text_writer.h"

#include "commands/file_name.h"
#include "commands/procedure.h"
#include "lists/list_view.h"
#include "platform/progress_bar.h"
#include "platform/window_services.h"
#include "results/aligned_cell.h"
#include "results/text_file_output.h"
#include "results/vanished_rows.h"

#include <vector>

namespace tallyvane {

namespace {

const QString kLocation =
    locationText(QStringLiteral("Main"), QStringLiteral("SaveListviewProperlySpaced"));

class Writer {
public:
    Writer(Prompts& prompts, WindowServices& window, const ListView& list, const QString& path,
           ProgressBar* progress)
        : p_(prompts, kLocation), window_(window), list_(list), path_(path), progress_(progress) {}

    // True when no step failed.
    bool run();

private:
    void pump(int line) {
        p_.step(line, [&] { window_.processEvents(); });
    }
    QString writingText() const {
        return QStringLiteral("Writing file: ") + GetFileNameFromPath(path_);
    }
    void showProgress(int firstLine, double value);
    void measureColumns();
    void takeLonger(int testLine, int takeLine, int& widest, const auto& read);
    int width(int column) const;
    void appendCell(int testLine, const auto& read, int column);
    bool writeHeading();
    void writeRows();
    void showRowProgress(int i);

    Procedure p_;
    WindowServices& window_;
    const ListView& list_;
    const QString& path_;
    ProgressBar* progress_;
    std::vector<int> widths_;
    QString buffer_;
    TextFileOutput file_;
};

bool Writer::run() {
    if (progress_)
        showProgress(102, 1);
    widths_.clear();
    measureColumns();
    if (progress_)
        showProgress(144, 10);
    buffer_.clear();
    // A file that cannot be created, or a write that fails, is reported once;
    // writing stops there instead of failing again on every later line.
    bool writing = p_.step(156, [&] { file_.create(path_); });
    if (writing)
        writing = writeHeading();
    if (progress_)
        showProgress(174, 20);
    if (writing)
        writeRows();
    if (progress_) {
        p_.step(228, [&] { progress_->setValue(100); });
        p_.step(230, [&] { progress_->setText(QStringLiteral("Done.")); });
    }
    if (file_.isOpen())
        p_.step(234, [&] { file_.commit(); });
    file_.abandon();
    if (progress_) {
        p_.step(240, [&] { progress_->setValue(0); });
        p_.step(242, [&] { progress_->setText(QStringLiteral("Progress Bar")); });
    }
    return p_.failures() == 0;
}

void Writer::showProgress(int firstLine, double value) {
    pump(firstLine);
    p_.step(firstLine + 2, [&] { progress_->setValue(value); });
    p_.step(firstLine + 4, [&] { progress_->setText(writingText()); });
    pump(firstLine + 6);
}

void Writer::takeLonger(int testLine, int takeLine, int& widest, const auto& read) {
    if (p_.test(testLine, [&] { return cellWidth(read()) > widest; }))
        p_.step(takeLine, [&] { widest = cellWidth(read()); });
}

void Writer::measureColumns() {
    const int columns = p_.value(112, 0, [&] { return list_.columnCount(); });
    for (int k = 1; k <= columns; ++k) {
        int widest = 0;
        takeLonger(116, 118, widest, [&] { return list_.heading(k); });
        const int rows = p_.value(120, 0, [&] { return list_.count(); });
        for (int j = 1; j <= rows; ++j) {
            pump(122);
            if (!rowStillThere(p_, k == 1 ? 126 : 130, list_, j, rows))
                break;
            if (k == 1)
                takeLonger(126, 128, widest, [&] { return list_.text(j); });
            else
                takeLonger(130, 132, widest, [&] { return list_.columnText(j, k); });
        }
        widths_.push_back(widest);
    }
}

int Writer::width(int column) const {
    if (column < 1 || column > static_cast<int>(widths_.size()))
        throw Failure(QStringLiteral("Subscript out of range"));
    return widths_[column - 1];
}

// The test, the spaced cell and the plain cell of one column: testLine,
// testLine + 2 and testLine + 4.
void Writer::appendCell(int testLine, const auto& read, int column) {
    if (p_.test(testLine, [&] { return width(column) >= cellWidth(read()); })) {
        p_.step(testLine + 2, [&] { appendAlignedCell(buffer_, read(), width(column)); });
    } else {
        p_.step(testLine + 4, [&] {
            buffer_ += read();
            buffer_ += QLatin1Char('\t');
        });
    }
}

bool Writer::writeHeading() {
    const int columns = p_.value(158, 0, [&] { return list_.columnCount(); });
    for (int k = 1; k <= columns; ++k) {
        pump(160);
        appendCell(
            162, [&] { return list_.heading(k); }, k);
    }
    return p_.step(170, [&] { file_.writeLine(buffer_); });
}

void Writer::writeRows() {
    const int rows = p_.value(182, 0, [&] { return list_.count(); });
    for (int i = 1; i <= rows; ++i) {
        pump(184);
        buffer_.clear();
        if (!rowStillThere(p_, 188, list_, i, rows))
            return;
        if (!p_.test(188, [&] { return list_.checked(i); }))
            continue;
        const int columns = p_.value(190, 0, [&] { return list_.columnCount(); });
        for (int k = 1; k <= columns; ++k) {
            pump(192);
            if (k == 1)
                appendCell(
                    196, [&] { return list_.text(i); }, k);
            else
                appendCell(
                    202, [&] { return list_.columnText(i, k); }, k);
        }
        if (progress_)
            showRowProgress(i);
        if (!p_.step(222, [&] { file_.writeLine(buffer_); }))
            return;
    }
}

void Writer::showRowProgress(int i) {
    pump(212);
    p_.step(214, [&] {
        // The list is counted again here: it may have changed while it was written.
        const int n = list_.count();
        if (n == 0)
            throw Failure(QStringLiteral("Division by zero"));
        // A whole-number share, so that long lists end a little past 100.
        const int ahead = n / 2000;
        progress_->setValue(static_cast<double>(i + ahead) / n * 100.0);
    });
    if (i % 1000 == 0)
        p_.step(218, [&] {
            progress_->setText(writingText() + QStringLiteral(" (") + QString::number(i) +
                               QLatin1Char(')'));
        });
    pump(220);
}

} // namespace

bool SaveListviewProperlySpaced(Prompts& prompts, WindowServices& window, const ListView& list,
                                const QString& path, ProgressBar* progress) {
    return Writer(prompts, window, list, path, progress).run();
}

} // namespace tallyvane
