#include "support/fakes.h"

namespace tallyvane::testing {

int FakePrompts::messageBox(const QString& text, int style, const QString& title) {
    if (failNextMessageBoxes > 0) {
        --failNextMessageBoxes;
        throw Failure(QStringLiteral("Message box failed"));
    }
    ShownMessage message{text, style, title.isEmpty() ? applicationTitle : title};
    shown.push_back(message);
    if (onShow)
        onShow(message);
    if (style == MessageStyle::YesNo) {
        if (answers.empty())
            return MessageAnswer::No;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return MessageAnswer::Ok;
}

QString FakePrompts::inputPrompt(const QString& message, const QString&, const QString&) {
    promptMessages << message;
    if (typedTexts.empty())
        return {};
    QString typed = typedTexts.front();
    typedTexts.pop_front();
    return typed;
}

int FakePrompts::chooseColumn(ColumnQuestion& question) {
    columnQuestions.push_back(question);
    if (columnAnswers.empty())
        return ColumnQuestion::kCancelled;
    const int answer = columnAnswers.front();
    columnAnswers.pop_front();
    if (!columnSets.empty()) {
        question.columns = columnSets.front();
        columnSets.pop_front();
    }
    return answer;
}

QStringList FakePrompts::texts() const {
    QStringList result;
    for (const auto& m : shown)
        result << m.text;
    return result;
}

std::vector<ShownMessage> FakePrompts::errorReports() const {
    std::vector<ShownMessage> result;
    for (const auto& m : shown) {
        if (m.title == QLatin1String("Application Error"))
            result.push_back(m);
    }
    return result;
}

void FakeWindowServices::setPointer(Pointer p) {
    pointer_ = p;
    pointerHistory.push_back(p);
}

void FakeWindowServices::processEvents() {
    ++pumps;
    if (onPump)
        onPump(pumps);
}

void FakeProgressBar::setValue(double percent) {
    value_ = percent;
    events.push_back({true, percent, {}});
}

void FakeProgressBar::setText(const QString& text) {
    text_ = text;
    events.push_back({false, 0, text});
}

std::vector<double> FakeProgressBar::values() const {
    std::vector<double> result;
    for (const auto& e : events) {
        if (e.isValue)
            result.push_back(e.value);
    }
    return result;
}

QStringList FakeProgressBar::textsSet() const {
    QStringList result;
    for (const auto& e : events) {
        if (!e.isValue)
            result << e.text;
    }
    return result;
}

namespace {
QString settingsKey(const QString& a, const QString& s, const QString& k) {
    return a + QLatin1Char('/') + s + QLatin1Char('/') + k;
}
} // namespace

QString FakeSettingsStore::read(const QString& application, const QString& section,
                                const QString& key, const QString& defaultValue) {
    if (failReads)
        throw Failure(QStringLiteral("Settings cannot be read"));
    return values.value(settingsKey(application, section, key), defaultValue);
}

void FakeSettingsStore::write(const QString& application, const QString& section,
                              const QString& key, const QString& value) {
    if (failWrites)
        throw Failure(QStringLiteral("Settings cannot be written"));
    values.insert(settingsKey(application, section, key), value);
}

QStringList FakeFileDialog::showOpen() {
    ++shownOpen;
    if (openAnswers.empty())
        return {};
    QStringList answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
}

QString FakeFileDialog::showSave() {
    ++shownSave;
    if (saveAnswers.empty())
        return {};
    QString answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

namespace {

// As SQLite's NOCASE compares: only the ASCII letters ignore case.
bool sameText(const std::optional<QString>& column, const QString& value) {
    if (!column || column->size() != value.size())
        return false;
    const auto fold = [](QChar c) {
        return c >= QLatin1Char('A') && c <= QLatin1Char('Z') ? QChar(c.unicode() + 32) : c;
    };
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (fold((*column)[i]) != fold(value[i]))
            return false;
    }
    return true;
}

class FakeConnection : public AreaCodeDatabase {
public:
    explicit FakeConnection(FakeAreaCodeDatabase& owner) : owner_(owner) {}

    FieldValues statesForAreaCode(const QString& code) override {
        count(QStringLiteral("code:") + code);
        FieldValues values;
        for (const auto& row : owner_.rows) {
            if (sameText(row.areaCode, code))
                values.push_back(row.stateCode);
        }
        return values;
    }

    FieldValues areaCodesForState(const QString& stateCode, const QString& locationName) override {
        count(QStringLiteral("state:") + stateCode + QLatin1Char('|') + locationName);
        FieldValues values;
        for (const auto& row : owner_.rows) {
            if (sameText(row.stateCode, stateCode) || sameText(row.locationName, locationName))
                values.push_back(row.areaCode);
        }
        return values;
    }

    std::vector<QString> columnValues(AreaCodeColumn column) override {
        std::vector<QString> values;
        for (const auto& row : owner_.rows) {
            const auto& value = column == AreaCodeColumn::AreaCode    ? row.areaCode
                                : column == AreaCodeColumn::StateCode ? row.stateCode
                                                                      : row.locationName;
            if (value)
                values.push_back(*value);
        }
        return values;
    }

    std::vector<SpecialCode> specialCodes() override { return owner_.special; }
    std::vector<CodeZones> codeZones() override { return owner_.codeZones; }
    std::vector<StateZones> stateZones() override { return owner_.stateZones; }

private:
    void count(const QString& query) {
        owner_.queries << query;
        if (++queries_ == owner_.failQueryNumber)
            throw Failure(QStringLiteral("database disk image is malformed"));
    }
    FakeAreaCodeDatabase& owner_;
    int queries_ = 0;
};

} // namespace

std::unique_ptr<AreaCodeDatabase> FakeAreaCodeDatabase::open() {
    ++opens;
    if (!openFailure.isEmpty())
        throw Failure(openFailure);
    return std::make_unique<FakeConnection>(*this);
}

bool FakeClipboard::clear() {
    ++clearAttempts;
    if (failClears > 0) {
        --failClears;
        return false;
    }
    text.clear();
    return true;
}

bool FakeClipboard::setText(const QString& newText) {
    return setTable(newText, QString());
}

bool FakeClipboard::setTable(const QString& newText, const QString& newHtml) {
    ++setAttempts;
    if (failSets > 0) {
        --failSets;
        return false;
    }
    text = newText;
    html = newHtml;
    return true;
}

namespace {

class FakeSheet : public Workbook {
public:
    explicit FakeSheet(FakeSpreadsheet& owner) : owner_(owner) {}
    int rowLimit() const override { return owner_.rowLimit; }
    void setCell(int row, int column, const QString& text) override {
        owner_.operations << QStringLiteral("cell %1 %2").arg(row).arg(column);
        owner_.cells.push_back({row, column, text});
    }
    void autofitColumn(int column) override {
        owner_.operations << QStringLiteral("autofit %1").arg(column);
    }
    void autofitAllColumns() override { owner_.operations << QStringLiteral("autofitAll"); }

private:
    FakeSpreadsheet& owner_;
};

class FakeApplication : public SpreadsheetApplication {
public:
    explicit FakeApplication(FakeSpreadsheet& owner) : owner_(owner), sheet_(owner) {}
    Workbook& addWorkbook() override {
        owner_.operations << QStringLiteral("addWorkbook");
        return sheet_;
    }
    void setVisible(bool) override { owner_.operations << QStringLiteral("visible"); }

private:
    FakeSpreadsheet& owner_;
    FakeSheet sheet_;
};

} // namespace

std::unique_ptr<SpreadsheetApplication> FakeSpreadsheet::create() {
    ++created;
    operations << QStringLiteral("create");
    if (!available)
        throw Failure(QStringLiteral("ActiveX component can't create object"));
    return std::make_unique<FakeApplication>(*this);
}

QString FakeSpreadsheet::cellText(int row, int column) const {
    QString text;
    for (const auto& cell : cells) {
        if (cell.row == row && cell.column == column)
            text = cell.text;
    }
    return text;
}

void FakeSurface::setPointerImage(const QString& path) {
    if (failPointerImage)
        throw Failure(QStringLiteral("Invalid picture"));
    pointerImage = path;
}

FakePlatform::FakePlatform() {
    entries.addColumn(QStringLiteral("States or Area Codes"));
    results.addColumn(QStringLiteral("Results"));
}

ConversionRun::Services FakePlatform::runServices(AreaCodeDatabaseOpener* otherDatabase) {
    return {prompts,
            window,
            entries,
            results,
            progress,
            options,
            otherDatabase ? *otherDatabase : static_cast<AreaCodeDatabaseOpener&>(database)};
}

StartUpServices FakePlatform::startUpServices() {
    return {prompts, surface, entries, results, options, settings, programFolder};
}

void FakePlatform::addEntries(const QStringList& texts) {
    for (const QString& text : texts)
        entries.append(text);
}

QStringList FakePlatform::resultTexts() const {
    return listTexts(results);
}

void RefusingList::append(const QString& text) {
    if (++appends_ == refused_) {
        if (how_ == How::OutOfMemory)
            throw std::bad_alloc();
        throw Failure(QStringLiteral("Out of memory"));
    }
    ListModel::append(text);
}

QStringList listTexts(const ListView& list) {
    QStringList texts;
    for (int i = 1; i <= list.count(); ++i)
        texts << list.text(i);
    return texts;
}

} // namespace tallyvane::testing
