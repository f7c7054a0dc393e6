#include "toolkit/picture.h"

#include "toolkit/file_stream.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace tk {
namespace {

struct FileFormat {
    std::string extension; // upper case, without the dot
    std::string description;
    const TGraphicClass* graphicClass;
};

std::vector<FileFormat>& Formats() {
    static std::vector<FileFormat> formats;
    return formats;
}

std::string NormalExtension(std::string extension) {
    if (!extension.empty() && extension.front() == '.')
        extension.erase(0, 1);
    for (char& c : extension)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return extension;
}

// The extension of the file name with its dot; empty when it has none.
std::string ExtensionOf(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of("\\/:");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string();
    return path.substr(dot);
}

const FileFormat* Find(const std::string& extension) {
    const std::string key = NormalExtension(extension);
    for (const FileFormat& f : Formats())
        if (f.extension == key)
            return &f;
    return nullptr;
}

} // namespace

TPicture::~TPicture() = default;

void TPicture::RegisterFileFormat(const std::string& extension, const std::string& description,
                                  const TGraphicClass& graphicClass) {
    const std::string key = NormalExtension(extension);
    auto& formats = Formats();
    formats.erase(std::remove_if(formats.begin(), formats.end(),
                                 [&](const FileFormat& f) { return f.extension == key; }),
                  formats.end());
    formats.push_back(FileFormat{key, description, &graphicClass});
}

void TPicture::UnregisterGraphicClass(const TGraphicClass& graphicClass) {
    auto& formats = Formats();
    formats.erase(
        std::remove_if(formats.begin(), formats.end(),
                       [&](const FileFormat& f) { return f.graphicClass == &graphicClass; }),
        formats.end());
}

const TGraphicClass* TPicture::ClassForExtension(const std::string& extension) {
    const FileFormat* f = Find(extension);
    return f ? f->graphicClass : nullptr;
}

std::string TPicture::DescriptionForExtension(const std::string& extension) {
    const FileFormat* f = Find(extension);
    return f ? f->description : std::string();
}

void TPicture::LoadFromFile(const std::string& path) {
    const std::string extension = ExtensionOf(path);
    const TGraphicClass* graphicClass = ClassForExtension(extension);
    if (!graphicClass)
        throw EInvalidGraphic("Unknown picture file extension (" + extension + ")");
    std::unique_ptr<TGraphic> graphic = graphicClass->Create();
    TFileStream stream(path);
    graphic->LoadFromStream(stream);
    graphic_ = std::move(graphic);
}

} // namespace tk
