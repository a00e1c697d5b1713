#include "reading/file_kind.h"

#include "reading/byte_order_marks.h"
#include "reading/text_encoding.h"
#include "reading/vcard_table.h"

#include <array>

namespace tallyvane {

namespace {

struct Signature {
    std::string_view bytes;
    const char* looks;
};

using namespace std::string_view_literals;

// Formats people keep next to their lists, and what they are called.
constexpr std::string_view kPdfStart = "%PDF-";

constexpr std::array kSignatures = {
    Signature{kPdfStart, "a PDF document"},
    Signature{"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"sv,
              "an older Office document, such as .xls or .doc"},
    Signature{"\x89PNG\r\n\x1A\n"sv, "a PNG image"},
    Signature{"\xFF\xD8\xFF"sv, "a JPEG image"},
    Signature{"GIF87a"sv, "a GIF image"},
    Signature{"GIF89a"sv, "a GIF image"},
    Signature{"\x1F\x8B"sv, "a gzip-compressed file"},
    Signature{"\xFD"
              "7zXZ\0"sv,
              "an xz-compressed file"},
    Signature{"7z\xBC\xAF\x27\x1C"sv, "a 7-Zip archive"},
    Signature{"\x28\xB5\x2F\xFD"sv, "a zstd-compressed file"},
    Signature{"\x7F"
              "ELF"sv,
              "a program"},
    Signature{"SQLite format 3\0"sv, "an SQLite database"},
};

// A PDF's body is objects ("1 0 obj") and binary streams; a text file that
// merely begins with "%PDF-" has neither.
bool looksLikePdfBody(std::string_view start) {
    if (start.find("obj") != std::string_view::npos || start.find('\0') != std::string_view::npos)
        return true;
    // The bytes of a binary stream, or the high bytes of the comment that
    // follows the header, are seldom UTF-8.
    for (std::size_t i = 0; i < start.size(); ++i) {
        const auto c = static_cast<unsigned char>(start[i]);
        if (c < 0x80)
            continue;
        const std::size_t more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC2 ? 1 : 0;
        if (more == 0 || c > 0xF4)
            return true;
        for (std::size_t k = 1; k <= more; ++k)
            if (i + k < start.size() && (static_cast<unsigned char>(start[i + k]) & 0xC0) != 0x80)
                return true;
        i += more;
    }
    return false;
}

// The first member of an OpenDocument file is its uncompressed mimetype.
constexpr std::string_view kOdsMime = "mimetypeapplication/vnd.oasis.opendocument.spreadsheet";

FileLooks zipLooks(std::string_view start) {
    if (start.find(kOdsMime) != std::string_view::npos)
        return {FileKind::Ods, {}};
    if (start.find("mimetypeapplication/vnd.oasis.opendocument") != std::string_view::npos)
        return {FileKind::NotText, "an OpenDocument file that is not a spreadsheet"};
    // An Office Open XML file names its parts near its start; a workbook's are
    // under xl/.
    if (start.find("xl/") != std::string_view::npos)
        return {FileKind::Xlsx, {}};
    if (start.find("word/") != std::string_view::npos)
        return {FileKind::NotText, "a word-processor document (.docx)"};
    return {FileKind::NotText, "a ZIP archive"};
}

} // namespace

FileLooks fileLooks(std::string_view start) {
    start = start.substr(0, kFileKindSample);
    if (start.substr(0, 4) == "PK\x03\x04"sv)
        return zipLooks(start);
    for (const Signature& signature : kSignatures)
        if (start.substr(0, signature.bytes.size()) == signature.bytes &&
            (signature.bytes != kPdfStart || looksLikePdfBody(start)))
            return {FileKind::NotText, signature.looks};
    if (looksLikeVCard(start))
        return {FileKind::VCard, {}};
    // UTF-16 text is full of zero bytes: its mark, or their places, say what it is.
    const TextEncoding encoding = encodingOf(start, true).encoding;
    if (encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be)
        return {};
    if (encoding == TextEncoding::Utf32)
        return {FileKind::NotText, "UTF-32 text, which is not read; save it as UTF-8 or UTF-16"};
    if (start.find('\0') != std::string_view::npos)
        return {FileKind::NotText, "binary data (it holds zero bytes)"};
    return {};
}

std::string notTextWords(const std::string& name, const FileLooks& looks) {
    return name + " is not a text file (it looks like " + looks.description + ")";
}

} // namespace tallyvane
