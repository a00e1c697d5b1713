#pragma once

#include "reading/csv_quote_repair.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct csv_parser;

namespace tallyvane {

// One record of a CSV or TSV file: its fields as RFC 4180 reads them (quotes
// taken off, doubled quotes made single, line breaks inside quotes kept), and
// the line end that closed it: "\r\n", "\n", "\r", or nothing at the end of
// the input. A blank line is a record without fields.
struct CsvRecord {
    std::vector<std::string_view> fields;
    bool malformed = false; // it had text after a closing quote (see CsvQuoteRepair)
    std::string_view end;
    std::string_view joined; // every field, one after another, nothing between
};

// Reads the records of CSV text fed in chunks of any size, with libcsv (the
// parsing is the library's, not ours). Spaces around a field are part of it.
// A UTF-8 byte-order mark that opens the text is no part of the first field;
// startedWithMark() tells whether there was one. Text after a field's closing
// quote stays in that field, as spreadsheet programs read it, and the record
// counts as malformed.
// Used by tallyvane-convert and by the window alike, so that both read a
// column the same way. The views of a record are valid while it is handed
// over.
class CsvRecords {
public:
    // Called with each record as soon as it is complete.
    class Reader {
    public:
        virtual ~Reader() = default;
        virtual void record(const CsvRecord& record) = 0;
    };

    // How spaces next to delimiters, line ends and quotes are kept: always
    // with a check of every byte, or (the same records, faster) only where
    // the text has such spaces.
    enum class Spaces { KeptAlways, KeptWhereThere };

    explicit CsvRecords(char delimiter = ',', Spaces spaces = Spaces::KeptWhereThere);
    ~CsvRecords();
    CsvRecords(const CsvRecords&) = delete;
    CsvRecords& operator=(const CsvRecords&) = delete;

    void feed(const char* data, std::size_t size, Reader& reader);
    // Hands over the record the end of the input closes, if any; the reader
    // is then ready for another input (and still tells of this one's mark).
    void finish(Reader& reader);
    bool startedWithMark() const { return mark_ == Mark::Found; }
    // Records, over every input so far, that had text after a closing quote.
    std::size_t malformedRecords() const { return malformed_; }

private:
    enum class Mark { Undecided, Found, None };
    void start();
    void parse(const char* data, std::size_t size);
    void mendAndParse(const char* data, std::size_t size);
    void parseRun(const char* data, std::size_t size, bool spacesMatter);
    static void onField(void* text, std::size_t size, void* self);
    static void onEnd(int c, void* self);
    void emit(std::string_view end);

    std::unique_ptr<csv_parser> parser_;
    char delimiter_;
    Spaces careful_;
    bool spaceFunction_ = true; // the library calls noSpaces for every byte
    Reader* reader_ = nullptr;
    std::string text_;                   // the fields of the record being read, one after another
    std::vector<std::size_t> fieldEnds_; // where each ends in text_
    CsvRecord record_;
    bool pendingCr_ = false; // a record ended in CR: an LF next makes it CR LF
    Mark mark_ = Mark::Undecided;
    CsvQuoteRepair repair_;
    bool recordMended_ = false;
    std::size_t malformed_ = 0;
    bool finished_ = false;
    std::string head_; // the first bytes, until they show whether a mark opens the text
};

} // namespace tallyvane
