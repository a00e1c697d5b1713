#pragma once

#include <string>
#include <string_view>

namespace tallyvane {

// What a file is, told from its first bytes (kFileKindSample of them, or all
// of a shorter file): both programs read text, read workbooks as workbooks,
// and refuse anything else rather than turn its bytes into entries.
enum class FileKind { Text, Xlsx, Ods, VCard, NotText };

inline constexpr std::size_t kFileKindSample = 8192;

struct FileLooks {
    FileKind kind = FileKind::Text;
    std::string description; // for NotText: what it looks like, "a PDF document"
};

FileLooks fileLooks(std::string_view start);

// "x.pdf is not a text file (it looks like a PDF document)": the words both
// programs use to refuse a file.
std::string notTextWords(const std::string& name, const FileLooks& looks);

} // namespace tallyvane
