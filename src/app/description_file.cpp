#include "app/description_file.h"

#include "catalogue/program_directory.h"

namespace sc {

std::string descriptionFilePath(std::string_view programDirectory) {
    return joinPath(programDirectory, kDescriptionFileName);
}

std::string readDescriptionValue(ProfileReader& reader, std::string_view programDirectory,
                                 std::string_view key) {
    std::string value =
        reader.readString(descriptionFilePath(programDirectory), kDescriptionSection, key);
    // The platform reader fills a fixed buffer and keeps room for the terminator.
    if (value.size() > kProfileBufferSize - 1) {
        value.resize(kProfileBufferSize - 1);
    }
    return value;
}

} // namespace sc
