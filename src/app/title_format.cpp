#include "app/title_format.h"

namespace sc {

std::string formatWithTitle(std::string_view captionTemplate, std::string_view title) {
    std::string out;
    out.reserve(captionTemplate.size() + title.size());
    bool titleUsed = false;
    std::size_t i = 0;
    while (i < captionTemplate.size()) {
        const char c = captionTemplate[i];
        if (c != '%' || i + 1 == captionTemplate.size()) {
            out.push_back(c);
            ++i;
            continue;
        }
        const char conversion = captionTemplate[i + 1];
        if (conversion == '%') {
            out.push_back('%');
        } else if (conversion == 's' && !titleUsed) {
            out.append(title);
            titleUsed = true;
        } else {
            out.push_back('%');
            out.push_back(conversion);
        }
        i += 2;
    }
    return out;
}

} // namespace sc
