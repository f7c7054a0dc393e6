#include "app/title_format.h"

namespace sc {

std::string formatTemplate(std::string_view text,
                           std::initializer_list<TemplateArgument> arguments) {
    std::string out;
    out.reserve(text.size());
    const TemplateArgument* next = arguments.begin();
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '%' || i + 1 == text.size()) {
            out.push_back(c);
            ++i;
            continue;
        }
        const char conversion = text[i + 1];
        if (conversion == '%') {
            out.push_back('%');
        } else if (next != arguments.end() && conversion == next->conversion) {
            out.append(next->text);
            ++next;
        } else {
            out.push_back('%');
            out.push_back(conversion);
        }
        i += 2;
    }
    return out;
}

} // namespace sc
