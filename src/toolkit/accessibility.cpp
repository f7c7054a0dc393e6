#include "toolkit/accessibility.h"

#include "text/utf.h"
#include "toolkit/run_time_link.h"

#include <oleacc.h>

#include <atomic>
#include <utility>

namespace tk {

namespace {

// The accessibility libraries are loaded at the first request, so that a start without a screen
// reader does not pay for loading them.
struct AccessibilityLibrary {
    decltype(&CreateStdAccessibleObject) createStandardObject = nullptr;
    decltype(&LresultFromObject) resultFromObject = nullptr;
    decltype(&AccessibleObjectFromWindow) objectFromWindow = nullptr;
    decltype(&SysAllocString) allocString = nullptr;
    bool usable() const {
        return createStandardObject && resultFromObject && objectFromWindow && allocString;
    }
};

const AccessibilityLibrary& accessibility() {
    static const AccessibilityLibrary library = [] {
        AccessibilityLibrary l;
        HMODULE acc = LoadLibraryW(L"oleacc.dll");
        HMODULE aut = LoadLibraryW(L"oleaut32.dll");
        l.createStandardObject =
            ProcedureOf<decltype(l.createStandardObject)>(acc, "CreateStdAccessibleObject");
        l.resultFromObject = ProcedureOf<decltype(l.resultFromObject)>(acc, "LresultFromObject");
        l.objectFromWindow =
            ProcedureOf<decltype(l.objectFromWindow)>(acc, "AccessibleObjectFromWindow");
        l.allocString = ProcedureOf<decltype(l.allocString)>(aut, "SysAllocString");
        return l;
    }();
    return library;
}

// A text answer; none (S_FALSE) for an empty text.
HRESULT textAnswer(const std::string& text, BSTR* out) {
    if (!out) {
        return E_POINTER;
    }
    *out = nullptr;
    if (text.empty()) {
        return S_FALSE;
    }
    *out = accessibility().allocString(sc::text::toUtf16(text).c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
}

// What VariantInit does, without importing the automation library for it.
void clear(VARIANT* v) {
    *v = VARIANT{};
    v->vt = VT_EMPTY;
}

VARIANT childId(long id) {
    VARIANT v;
    clear(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// The window object of a child window (what the platform's client objects give for one).
IDispatch* windowObject(HWND window) {
    IDispatch* object = nullptr;
    if (FAILED(accessibility().objectFromWindow(window, static_cast<DWORD>(OBJID_WINDOW),
                                                __uuidof(IDispatch),
                                                reinterpret_cast<void**>(&object)))) {
        return nullptr;
    }
    return object;
}

// A child for a VARIANT answer: a window's object, or the child's number.
void putChild(VARIANT* out, const AccessibleElement& element, long id) {
    if (element.window) {
        if (IDispatch* object = windowObject(element.window)) {
            out->vt = VT_DISPATCH;
            out->pdispVal = object;
            return;
        }
    }
    out->vt = VT_I4;
    out->lVal = id;
}

// The client object of one window: the standard object's answers, except where the window's
// source has its own.
class WindowObject final : public IAccessible {
  public:
    WindowObject(HWND window, IAccessible* standard, AccessibleSourceOf sourceOf)
        : window_(window), standard_(standard), sourceOf_(sourceOf) {
        standard_->AddRef();
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) {
            return E_POINTER;
        }
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
            iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG n = --refs_;
        if (n == 0) {
            delete this;
        }
        return n;
    }

    // IDispatch: screen readers call the interface directly; no type information.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        if (!n) {
            return E_POINTER;
        }
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count) {
            return E_POINTER;
        }
        AccessibleSource* source = sourceNow();
        if (!source) {
            return CO_E_OBJNOTCONNECTED;
        }
        *count = static_cast<long>(source->accessibleChildren().size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (!out) {
            return E_POINTER;
        }
        *out = nullptr;
        return withElement(child, [&](const AccessibleElement& e, bool self) -> HRESULT {
            if (self) {
                return E_INVALIDARG;
            }
            if (e.window) {
                *out = windowObject(e.window);
                return *out ? S_OK : E_FAIL;
            }
            return S_FALSE; // a simple element: its parent answers for it
        });
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return withElement(child, [&](const AccessibleElement& e, bool self) -> HRESULT {
            if (self && !e.name) {
                return standard_->get_accName(child, name);
            }
            return forwardOr(
                e, [&](IAccessible& a) { return a.get_accName(childId(0), name); },
                [&] { return textAnswer(e.name.value_or(""), name); });
        });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return withElement(child, [&](const AccessibleElement& e, bool self) -> HRESULT {
            if (self) {
                return standard_->get_accValue(child, value);
            }
            return forwardOr(
                e, [&](IAccessible& a) { return a.get_accValue(childId(0), value); },
                [&] { return textAnswer("", value); });
        });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return withElement(child, [&](const AccessibleElement& e, bool self) -> HRESULT {
            if (self && e.description.empty()) {
                return standard_->get_accDescription(child, text);
            }
            return forwardOr(
                e, [&](IAccessible& a) { return a.get_accDescription(childId(0), text); },
                [&] { return textAnswer(e.description, text); });
        });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) {
            return E_POINTER;
        }
        return withElement(child, [&](const AccessibleElement& e, bool self) -> HRESULT {
            if (self && e.role == 0) {
                return standard_->get_accRole(child, role);
            }
            return forwardOr(
                e, [&](IAccessible& a) { return a.get_accRole(childId(0), role); },
                [&] {
                    *role = childId(e.role);
                    return S_OK;
                });
        });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!state) {
            return E_POINTER;
        }
        return withElement(child, [&](const AccessibleElement& e, bool self) -> HRESULT {
            long value = e.state;
            if (self) {
                VARIANT standardState;
                clear(&standardState);
                if (standard_->get_accState(child, &standardState) == S_OK &&
                    standardState.vt == VT_I4) {
                    value |= standardState.lVal;
                }
                *state = childId(value);
                return S_OK;
            }
            return forwardOr(
                e, [&](IAccessible& a) { return a.get_accState(childId(0), state); },
                [&] {
                    *state = childId(value);
                    return S_OK;
                });
        });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return withElement(child, [&](const AccessibleElement&, bool self) -> HRESULT {
            return self ? standard_->get_accHelp(child, help) : textAnswer("", help);
        });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return withElement(child, [&](const AccessibleElement&, bool self) -> HRESULT {
            return self ? standard_->get_accHelpTopic(file, child, topic) : S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return withElement(child, [&](const AccessibleElement&, bool self) -> HRESULT {
            return self ? standard_->get_accKeyboardShortcut(child, keys) : textAnswer("", keys);
        });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        return focusOrSelection(focus, &AccessibleSource::accessibleFocus,
                                &IAccessible::get_accFocus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return focusOrSelection(selection, &AccessibleSource::accessibleSelection,
                                &IAccessible::get_accSelection);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return withElement(child, [&](const AccessibleElement& e, bool self) -> HRESULT {
            if (self && e.defaultAction.empty()) {
                return standard_->get_accDefaultAction(child, action);
            }
            return forwardOr(
                e, [&](IAccessible& a) { return a.get_accDefaultAction(childId(0), action); },
                [&] { return textAnswer(e.defaultAction, action); });
        });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return withElement(child, [&](const AccessibleElement&, bool self) -> HRESULT {
            // Rows are chosen by their default action, which does what a click does.
            return self ? standard_->accSelect(flags, child) : DISP_E_MEMBERNOTFOUND;
        });
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h,
                                          VARIANT child) override {
        if (!x || !y || !w || !h) {
            return E_POINTER;
        }
        return withElement(child, [&](const AccessibleElement& e, bool self) -> HRESULT {
            if (self) {
                return standard_->accLocation(x, y, w, h, child);
            }
            const RECT r = placeOf(e);
            *x = r.left;
            *y = r.top;
            *w = r.right - r.left;
            *h = r.bottom - r.top;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!end) {
            return E_POINTER;
        }
        clear(end);
        AccessibleSource* source = sourceNow();
        if (!source) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (start.vt != VT_I4) {
            return E_INVALIDARG;
        }
        const std::vector<AccessibleElement> children = source->accessibleChildren();
        const long count = static_cast<long>(children.size());
        long to = 0;
        if (start.lVal == CHILDID_SELF) {
            if (direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD) {
                return standard_->accNavigate(direction, start, end);
            }
            to = direction == NAVDIR_FIRSTCHILD ? 1 : count;
        } else if (start.lVal < 1 || start.lVal > count) {
            return E_INVALIDARG;
        } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN ||
                   direction == NAVDIR_RIGHT) {
            to = start.lVal + 1;
        } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP ||
                   direction == NAVDIR_LEFT) {
            to = start.lVal - 1;
        }
        if (to < 1 || to > count) {
            return S_FALSE;
        }
        putChild(end, children[static_cast<std::size_t>(to - 1)], to);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* at) override {
        if (!at) {
            return E_POINTER;
        }
        clear(at);
        AccessibleSource* source = sourceNow();
        if (!source) {
            return CO_E_OBJNOTCONNECTED;
        }
        const std::vector<AccessibleElement> children = source->accessibleChildren();
        // The last child lies on top.
        for (std::size_t i = children.size(); i-- > 0;) {
            const RECT r = placeOf(children[i]);
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
                putChild(at, children[i], static_cast<long>(i + 1));
                return S_OK;
            }
        }
        return standard_->accHitTest(x, y, at);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return withElement(child, [&](const AccessibleElement& e, bool self) -> HRESULT {
            if (self && e.defaultAction.empty()) {
                return standard_->accDoDefaultAction(child);
            }
            return forwardOr(
                e, [&](IAccessible& a) { return a.accDoDefaultAction(childId(0)); },
                [&]() -> HRESULT {
                    if (e.defaultAction.empty()) {
                        return DISP_E_MEMBERNOTFOUND;
                    }
                    PostMessageW(window_, kAccessibleAction, static_cast<WPARAM>(child.lVal), 0);
                    return S_OK;
                });
        });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  private:
    ~WindowObject() { standard_->Release(); }

    // The window's source, or none once the window (or its control) is gone.
    AccessibleSource* sourceNow() const { return IsWindow(window_) ? sourceOf_(window_) : nullptr; }

    // Runs `answer` with the element that `child` names (the object itself for CHILDID_SELF).
    template <typename Answer> HRESULT withElement(const VARIANT& child, Answer answer) {
        AccessibleSource* source = sourceNow();
        if (!source) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (child.vt != VT_I4) {
            return E_INVALIDARG;
        }
        if (child.lVal == CHILDID_SELF) {
            return answer(source->accessibleSelf(), true);
        }
        const std::vector<AccessibleElement> children = source->accessibleChildren();
        if (child.lVal < 1 || child.lVal > static_cast<long>(children.size())) {
            return E_INVALIDARG;
        }
        return answer(children[static_cast<std::size_t>(child.lVal - 1)], false);
    }

    // A child with a window is asked through that window's object; others answer here.
    template <typename Ask, typename Own>
    static HRESULT forwardOr(const AccessibleElement& e, Ask ask, Own own) {
        if (!e.window) {
            return own();
        }
        IDispatch* object = windowObject(e.window);
        if (!object) {
            return E_FAIL;
        }
        IAccessible* accessible = nullptr;
        HRESULT hr =
            object->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&accessible));
        object->Release();
        if (FAILED(hr) || !accessible) {
            return E_FAIL;
        }
        hr = ask(*accessible);
        accessible->Release();
        return hr;
    }

    static RECT placeOf(const AccessibleElement& e) {
        RECT r = e.location;
        if (e.window) {
            GetWindowRect(e.window, &r);
        }
        return r;
    }

    HRESULT focusOrSelection(VARIANT* out, std::optional<long> (AccessibleSource::*mine)(),
                             HRESULT (STDMETHODCALLTYPE IAccessible::*standard)(VARIANT*)) {
        if (!out) {
            return E_POINTER;
        }
        clear(out);
        AccessibleSource* source = sourceNow();
        if (!source) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (!source->knowsFocusAndSelection()) {
            return (standard_->*standard)(out);
        }
        const std::optional<long> child = (source->*mine)();
        if (!child) {
            return S_FALSE;
        }
        *out = childId(*child);
        return S_OK;
    }

    std::atomic<ULONG> refs_{1};
    HWND window_;
    IAccessible* standard_;
    AccessibleSourceOf sourceOf_;
};

} // namespace

LRESULT serveAccessibleObject(HWND window, WPARAM wp, LPARAM lp, AccessibleSourceOf sourceOf) {
    const AccessibilityLibrary& library = accessibility();
    if (static_cast<LONG>(lp) != OBJID_CLIENT || !library.usable() || !sourceOf(window)) {
        return 0;
    }
    IAccessible* standard = nullptr;
    if (FAILED(library.createStandardObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&standard))) ||
        !standard) {
        return 0;
    }
    auto* object = new WindowObject(window, standard, sourceOf);
    standard->Release();
    const LRESULT result = library.resultFromObject(__uuidof(IAccessible), wp, object);
    object->Release();
    return result > 0 ? result : 0;
}

std::string shownText(std::string_view text, bool accelerators) {
    std::string shown;
    bool blank = false; // a blank or line break waits to be written as one space
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (accelerators && c == '&') {
            if (i + 1 >= text.size() || text[i + 1] != '&') {
                continue;
            }
            ++i;
        }
        if (c == '\r' || c == '\n' || c == ' ' || c == '\t') {
            blank = !shown.empty();
            continue;
        }
        if (blank) {
            shown += ' ';
            blank = false;
        }
        shown += c;
    }
    return shown;
}

} // namespace tk
