#include "platform/qt/qt_column_chooser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tallyvane {

namespace {

constexpr int kValuesShown = 3;

// A quoted field may hold line breaks; each column keeps to one line of the
// list, the breaks shown as a return symbol.
QString oneLine(QString value) {
    value.replace(QStringLiteral("\r\n"), QStringLiteral("\u23CE"));
    value.replace(QLatin1Char('\n'), QChar(0x23CE));
    value.replace(QLatin1Char('\r'), QChar(0x23CE));
    return value;
}

// "Phone — (603) 237-4934, 1-201-555-0142, …": the column as it would be read.
QString describe(const ColumnQuestion& question, qsizetype column, bool header) {
    const QList<QStringList>& rows = question.firstRows;
    QString name = header && !rows.isEmpty() ? rows.front().value(column)
                                             : QStringLiteral("Column %1").arg(column + 1);
    QStringList values;
    for (qsizetype r = header ? 1 : 0; r < rows.size() && values.size() < kValuesShown; ++r)
        values << rows[r].value(column);
    return oneLine(name) + QStringLiteral(" \u2014 ") + oneLine(values.join(QStringLiteral(", ")));
}

void fill(QListWidget* list, const ColumnQuestion& question, bool header) {
    const int chosen = list->currentRow();
    list->clear();
    const qsizetype columns = question.firstRows.isEmpty() ? 0 : question.firstRows.front().size();
    for (qsizetype c = 0; c < columns; ++c)
        list->addItem(describe(question, c, header));
    list->addItem(QStringLiteral("Whole lines"));
    list->setCurrentRow(chosen >= 0 ? chosen : question.likeliest);
}

// A workbook's sheets, when it has more than one: choosing another shows its
// columns, with its own guesses.
void addSheetChoice(QVBoxLayout* layout, ColumnQuestion& question, QListWidget* list,
                    QCheckBox* header) {
    if (question.sheets.size() < 2 || !question.showSheet)
        return;
    auto* sheets = new QComboBox;
    sheets->setObjectName(QStringLiteral("Sheets"));
    sheets->addItems(question.sheets);
    sheets->setCurrentIndex(question.sheet);
    auto* label = new QLabel(QStringLiteral("&Sheet:"));
    label->setBuddy(sheets);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(sheets, 1);
    layout->addLayout(row);
    QObject::connect(sheets, &QComboBox::currentIndexChanged, list,
                     [&question, list, header](int sheet) {
                         question.sheet = sheet;
                         question.showSheet(question);
                         const QSignalBlocker quiet(header);
                         header->setChecked(question.header);
                         list->clear(); // the new sheet's likeliest column is chosen
                         fill(list, question, question.header);
                     });
}

} // namespace

int chooseColumnInDialog(QWidget* parent, ColumnQuestion& question) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("ColumnChooser"));
    dialog.setWindowTitle(QGuiApplication::applicationDisplayName());
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QLabel(QStringLiteral("This list has columns. Which one holds the entries?"));
    auto* list = new QListWidget;
    list->setObjectName(QStringLiteral("Columns"));
    text->setBuddy(list);
    auto* header = new QCheckBox(QStringLiteral("The first row names the columns"));
    header->setObjectName(QStringLiteral("FirstRowNamesColumns"));
    header->setChecked(question.header);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    addSheetChoice(layout, question, list, header);
    QCheckBox* other = nullptr;
    if (!question.otherDirection.isEmpty()) {
        other = new QCheckBox(question.otherDirection);
        other->setObjectName(QStringLiteral("UseOtherDirection"));
        other->setChecked(true);
    }
    layout->addWidget(text);
    layout->addWidget(list);
    layout->addWidget(header);
    if (other)
        layout->addWidget(other);
    layout->addWidget(buttons);
    fill(list, question, question.header);
    QObject::connect(header, &QCheckBox::toggled, list,
                     [list, &question](bool on) { fill(list, question, on); });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    list->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return ColumnQuestion::kCancelled;
    question.header = header->isChecked();
    question.useOtherDirection = other && other->isChecked();
    const int row = list->currentRow();
    return row < 0 || row >= list->count() - 1 ? ColumnQuestion::kWholeLines : row;
}

} // namespace tallyvane
