// The picture holder: one graphic, loaded from a file whose extension picks the graphic class
// from a registry of file formats.
#pragma once

#include "graphics/graphic.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace tk {

// A file that cannot be opened: Cannot open file "<full path>". <the system's message>
class EFOpenError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A file name whose extension no registered format has: Unknown picture file extension (.xyz)
class EInvalidGraphic : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class TPicture {
  public:
    TPicture() = default;
    ~TPicture();
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    // Makes a graphic of the class registered for the file's extension (without regard to
    // case) and loads it from the file. On any failure the previous graphic stays.
    void LoadFromFile(const std::string& path);
    TGraphic* Graphic() const { return graphic_.get(); }
    void SetGraphic(std::unique_ptr<TGraphic> graphic) { graphic_ = std::move(graphic); }
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // Enters a format; extension without the dot ("PNG"). A later registration of the same
    // extension replaces the earlier.
    static void RegisterFileFormat(const std::string& extension, const std::string& description,
                                   const TGraphicClass& graphicClass);
    // Removes every format of that class.
    static void UnregisterGraphicClass(const TGraphicClass& graphicClass);
    // The class registered for the extension (with or without its dot), nullptr for none.
    static const TGraphicClass* ClassForExtension(const std::string& extension);
    // The description registered for the extension; empty for none.
    static std::string DescriptionForExtension(const std::string& extension);

  private:
    std::unique_ptr<TGraphic> graphic_;
};

} // namespace tk
