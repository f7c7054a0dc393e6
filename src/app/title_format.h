#pragma once
// Caption templates with their arguments: the application title in menu entries, the year and
// the company in the About window's copyright line.

#include <initializer_list>
#include <string>
#include <string_view>

namespace sc {

// One argument of a template: the conversion it answers ('s', 'd') and its text.
struct TemplateArgument {
    char conversion;
    std::string_view text;
};

// Formats a template with its arguments in their order: a "%<c>" where c is the next argument's
// conversion takes that argument's text, inserted unchanged (a "%" or "&" in it stays as it is);
// "%%" gives "%". Any other specifier, one with no argument left, and a lone "%" at the end are
// kept as written; arguments are never reordered.
std::string formatTemplate(std::string_view text,
                           std::initializer_list<TemplateArgument> arguments);

// A caption template with the title as its one string argument: the first "%s" becomes the title.
inline std::string formatWithTitle(std::string_view captionTemplate, std::string_view title) {
    return formatTemplate(captionTemplate, {{'s', title}});
}

} // namespace sc
