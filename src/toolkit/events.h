// Events and their bindings: a definition binds an event of a control, menu item or form to a
// handler method of the form class, so a binding to a method the class lacks, or one of another
// signature, does not compile.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <variant>

namespace tk {

class TForm;

// Base of every object that raises events; the sender of a handler.
class TObject {
  public:
    virtual ~TObject() = default;
    virtual const std::string& name() const = 0;
};

using TNotifyEvent = std::function<void(TObject& sender)>;
using TDrawItemEvent =
    std::function<void(TObject& control, int index, const RECT& rect, unsigned state)>;
using TMouseMoveEvent = std::function<void(TObject& sender, unsigned shift, int x, int y)>;

// A handler method made into the event's function for one form object.
template <typename Event> using HandlerOf = std::function<Event(TForm& form)>;

// "OnClick" -> &TMainForm::ListBoxMainClick and the like.
struct EventBinding {
    std::string event;
    std::variant<HandlerOf<TNotifyEvent>, HandlerOf<TDrawItemEvent>, HandlerOf<TMouseMoveEvent>>
        handler;
};

template <typename Form, typename... Args>
EventBinding on(std::string event, void (Form::*method)(TObject&, Args...)) {
    using Event = std::function<void(TObject&, Args...)>;
    return {std::move(event), HandlerOf<Event>([method](TForm& form) -> Event {
                return std::bind_front(method, &dynamic_cast<Form&>(form));
            })};
}

} // namespace tk
