#include "app/description_file.h"

#include "catalogue/program_directory.h"
#include "text/utf.h"

namespace sc {

std::string descriptionFilePath(std::string_view programDirectory) {
    return joinPath(programDirectory, kDescriptionFileName);
}

std::string readDescriptionValue(ProfileReader& reader, std::string_view programDirectory,
                                 std::string_view key) {
    // The platform reader fills a fixed buffer of UTF-16 units and keeps room for the terminator.
    return text::cutToUtf16Units(
        reader.readString(descriptionFilePath(programDirectory), kDescriptionSection, key),
        kProfileBufferSize - 1);
}

} // namespace sc
