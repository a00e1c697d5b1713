#include "platform/qt/qt_column_chooser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QSignalBlocker>
#include <QTableWidget>
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

QString columnName(const ColumnQuestion& question, qsizetype column, bool header) {
    const QList<QStringList>& rows = question.firstRows;
    return header && !rows.isEmpty() ? rows.front().value(column)
                                     : QStringLiteral("Column %1").arg(column + 1);
}

// "Phone — “(603) 237-4934”, “1-201-555-0142”": the column as it would be
// read, each value in quotes so that a value's own commas cannot run two
// together; blank values are left out.
QString describe(const ColumnQuestion& question, qsizetype column, bool header) {
    const QList<QStringList>& rows = question.firstRows;
    QStringList values;
    for (qsizetype r = header ? 1 : 0; r < rows.size() && values.size() < kValuesShown; ++r)
        if (const QString value = rows[r].value(column); !value.trimmed().isEmpty())
            values << QStringLiteral("\u201C") + value + QStringLiteral("\u201D");
    return oneLine(columnName(question, column, header)) + QStringLiteral(" \u2014 ") +
           (values.isEmpty() ? QStringLiteral("(blank)")
                             : oneLine(values.join(QStringLiteral(", "))));
}

// Each column may be ticked to be taken besides the chosen one.
void fill(QListWidget* list, const ColumnQuestion& question, bool header) {
    const int chosen = list->currentRow();
    QList<bool> ticked;
    for (int i = 0; i + 1 < list->count(); ++i)
        ticked << (list->item(i)->checkState() == Qt::Checked);
    list->clear();
    const qsizetype columns = question.firstRows.isEmpty() ? 0 : question.firstRows.front().size();
    for (qsizetype c = 0; c < columns; ++c) {
        auto* item = new QListWidgetItem(describe(question, c, header), list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(ticked.value(c) ? Qt::Checked : Qt::Unchecked);
    }
    list->addItem(QStringLiteral("Whole lines"));
    list->setCurrentRow(chosen >= 0 ? chosen : question.likeliest);
}

// The first rows as the file has them, one column a file column.
void fillRows(QTableWidget* table, const ColumnQuestion& question, bool header) {
    const QList<QStringList>& rows = question.firstRows;
    const qsizetype columns = rows.isEmpty() ? 0 : rows.front().size();
    const qsizetype first = header ? 1 : 0;
    table->clear();
    table->setColumnCount(int(columns));
    table->setRowCount(int(std::max<qsizetype>(0, rows.size() - first)));
    QStringList headings;
    for (qsizetype c = 0; c < columns; ++c)
        headings << oneLine(columnName(question, c, header));
    table->setHorizontalHeaderLabels(headings);
    for (qsizetype r = first; r < rows.size(); ++r)
        for (qsizetype c = 0; c < columns; ++c)
            table->setItem(int(r - first), int(c), new QTableWidgetItem(oneLine(rows[r].value(c))));
    table->resizeColumnsToContents();
}

QTableWidget* firstRowsTable() {
    auto* table = new QTableWidget;
    table->setObjectName(QStringLiteral("FirstRows"));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setFocusPolicy(Qt::NoFocus);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->verticalHeader()->hide();
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    return table;
}

// Big enough for its columns and rows, but never past the screen.
void sizeToContent(QDialog& dialog, QWidget* parent) {
    dialog.adjustSize();
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize room = screen->availableGeometry().size() * 9 / 10;
    dialog.resize(dialog.size().boundedTo(room));
}

// A workbook's sheets, when it has more than one: choosing another shows its
// columns, with its own guesses.
void addSheetChoice(QVBoxLayout* layout, ColumnQuestion& question, QListWidget* list,
                    QCheckBox* header, QTableWidget* rows) {
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
                     [&question, list, header, rows](int sheet) {
                         question.sheet = sheet;
                         question.showSheet(question);
                         const QSignalBlocker quiet(header);
                         header->setChecked(question.header);
                         list->clear(); // the new sheet's likeliest column is chosen
                         fill(list, question, question.header);
                         fillRows(rows, question, question.header);
                     });
}

} // namespace

int chooseColumnInDialog(QWidget* parent, ColumnQuestion& question) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("ColumnChooser"));
    dialog.setWindowTitle(QGuiApplication::applicationDisplayName());
    auto* layout = new QVBoxLayout(&dialog);
    if (!question.source.isEmpty()) {
        auto* source = new QLabel(question.source);
        source->setObjectName(QStringLiteral("SourceName"));
        source->setTextFormat(Qt::PlainText);
        QFont bold = source->font();
        bold.setBold(true);
        source->setFont(bold);
        layout->addWidget(source);
    }
    auto* text = new QLabel(QStringLiteral("This list has columns. Which one holds the entries? "
                                           "Tick more columns to take them too."));
    auto* list = new QListWidget;
    list->setObjectName(QStringLiteral("Columns"));
    text->setBuddy(list);
    auto* header = new QCheckBox(QStringLiteral("The first row names the columns"));
    header->setObjectName(QStringLiteral("FirstRowNamesColumns"));
    header->setChecked(question.header);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QTableWidget* rows = firstRowsTable();
    addSheetChoice(layout, question, list, header, rows);
    QCheckBox* other = nullptr;
    if (!question.otherDirection.isEmpty()) {
        other = new QCheckBox(question.otherDirection);
        other->setObjectName(QStringLiteral("UseOtherDirection"));
        other->setChecked(true);
    }
    layout->addWidget(text);
    layout->addWidget(list, 1);
    layout->addWidget(rows);
    layout->addWidget(header);
    if (other)
        layout->addWidget(other);
    layout->addWidget(buttons);
    fill(list, question, question.header);
    fillRows(rows, question, question.header);
    QObject::connect(header, &QCheckBox::toggled, list, [list, rows, &question](bool on) {
        fill(list, question, on);
        fillRows(rows, question, on);
    });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    list->setFocus();
    sizeToContent(dialog, parent);
    if (dialog.exec() != QDialog::Accepted)
        return ColumnQuestion::kCancelled;
    question.header = header->isChecked();
    question.useOtherDirection = other && other->isChecked();
    const int row = list->currentRow();
    if (row < 0 || row >= list->count() - 1)
        return ColumnQuestion::kWholeLines;
    question.columns.clear();
    for (int c = 0; c + 1 < list->count(); ++c)
        if (c == row || list->item(c)->checkState() == Qt::Checked)
            question.columns << c;
    if (question.columns.size() < 2)
        question.columns.clear();
    return row;
}

} // namespace tallyvane
