#include "about/about_texts.h"

#include "app/title_format.h"

namespace sc {

AboutTexts aboutTexts(std::string_view title, std::string_view version, std::string_view company,
                      int year, std::string_view copyrightTemplate) {
    AboutTexts texts;
    texts.caption = "About " + std::string(title);
    texts.titleLine = std::string(title) + " " + std::string(version);
    texts.copyrightLine =
        formatTemplate(copyrightTemplate, {{'d', std::to_string(year)}, {'s', company}});
    texts.versionLabel = std::string(version);
    return texts;
}

} // namespace sc
