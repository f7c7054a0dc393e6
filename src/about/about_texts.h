#pragma once
// What the About window shows, from the title, the description file's values and the year.

#include <string>
#include <string_view>

namespace sc {

// The design caption of the copyright line; "\xC2\xA9" is the copyright sign in UTF-8.
inline constexpr std::string_view kCopyrightTemplate = "Copyright \xC2\xA9 2006-%d %s";

struct AboutTexts {
    std::string caption;       // "About " + title
    std::string titleLine;     // title + " " + version
    std::string copyrightLine; // the template's "%d" the year, then its "%s" the company
    std::string versionLabel;  // the version as it is
};

AboutTexts aboutTexts(std::string_view title, std::string_view version, std::string_view company,
                      int year, std::string_view copyrightTemplate = kCopyrightTemplate);

} // namespace sc
