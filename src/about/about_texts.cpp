#include "about/about_texts.h"

namespace sc {

AboutTexts aboutTexts(std::string_view title, std::string_view version, std::string_view company,
                      int year, std::string_view copyrightTemplate) {
    AboutTexts texts;
    texts.caption = "About " + std::string(title);
    texts.titleLine = std::string(title) + " " + std::string(version);
    texts.copyrightLine = formatCopyright(copyrightTemplate, year, company);
    texts.versionLabel = std::string(version);
    return texts;
}

std::string formatCopyright(std::string_view copyrightTemplate, int year,
                            std::string_view company) {
    std::string out;
    out.reserve(copyrightTemplate.size() + company.size() + 12);
    int nextArgument = 0; // 0: the year, 1: the company, 2: none left
    std::size_t i = 0;
    while (i < copyrightTemplate.size()) {
        const char c = copyrightTemplate[i];
        if (c != '%' || i + 1 == copyrightTemplate.size()) {
            out.push_back(c);
            ++i;
            continue;
        }
        const char conversion = copyrightTemplate[i + 1];
        if (conversion == '%') {
            out.push_back('%');
        } else if (conversion == 'd' && nextArgument == 0) {
            out.append(std::to_string(year));
            ++nextArgument;
        } else if (conversion == 's' && nextArgument == 1) {
            out.append(company);
            ++nextArgument;
        } else {
            out.push_back('%');
            out.push_back(conversion);
        }
        i += 2;
    }
    return out;
}

} // namespace sc
