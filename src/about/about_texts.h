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
    std::string copyrightLine; // the template with the year and the company
    std::string versionLabel;  // the version as it is
};

AboutTexts aboutTexts(std::string_view title, std::string_view version, std::string_view company,
                      int year, std::string_view copyrightTemplate = kCopyrightTemplate);

// Formats a template with two arguments, in this order: the year for a "%d", the company for a
// "%s"; "%%" gives "%". The company is inserted unchanged, so a "%" in it stays as it is. A
// specifier whose argument is of another kind or missing, and a lone "%" at the end, are kept
// as written.
std::string formatCopyright(std::string_view copyrightTemplate, int year, std::string_view company);

} // namespace sc
