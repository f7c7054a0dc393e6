// What screen readers learn of a glyph button: the platform's standard accessible object of the
// window, presented as a push button named by the caption without its "&" (or by the hint of a
// button without a caption), whose default action is the click.
#include "controls/glyph_button.h"
#include "toolkit/run_time_link.h"

#include "text/utf.h"

#include <oleacc.h>

#include <atomic>

namespace sc::controls {

namespace {

std::wstring widen(const std::string& text) {
    return sc::text::toUtf16(text);
}

bool isSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The accessibility libraries are loaded at the first request, so that a start without a screen
// reader does not pay for loading them.
struct AccessibilityLibrary {
    decltype(&CreateStdAccessibleObject) createStandardObject = nullptr;
    decltype(&LresultFromObject) resultFromObject = nullptr;
    decltype(&SysAllocString) allocString = nullptr;
};

const AccessibilityLibrary& accessibility() {
    static const AccessibilityLibrary library = [] {
        AccessibilityLibrary l;
        HMODULE acc = LoadLibraryW(L"oleacc.dll");
        HMODULE aut = LoadLibraryW(L"oleaut32.dll");
        l.createStandardObject =
            tk::ProcedureOf<decltype(l.createStandardObject)>(acc, "CreateStdAccessibleObject");
        l.resultFromObject =
            tk::ProcedureOf<decltype(l.resultFromObject)>(acc, "LresultFromObject");
        l.allocString = tk::ProcedureOf<decltype(l.allocString)>(aut, "SysAllocString");
        return l;
    }();
    return library;
}

HRESULT text(const std::wstring& value, BSTR* out) {
    if (!out) {
        return E_POINTER;
    }
    *out = accessibility().allocString(value.c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
}

// Passes everything to the standard object except what makes it a named push button.
class AccessibleButton final : public IAccessible {
  public:
    AccessibleButton(IAccessible* inner, HWND window, std::wstring name)
        : inner_(inner), window_(window), name_(std::move(name)) {
        inner_->AddRef();
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
        ULONG n = --refs_;
        if (n == 0) {
            delete this;
        }
        return n;
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        return inner_->GetTypeInfoCount(n);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override {
        return inner_->GetTypeInfo(i, l, t);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l,
                                            DISPID* d) override {
        return inner_->GetIDsOfNames(r, n, c, l, d);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v,
                                     EXCEPINFO* e, UINT* a) override {
        return inner_->Invoke(d, r, l, f, p, v, e, a);
    }

    // IAccessible: the button's own answers.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return isSelf(child) ? text(name_, name) : inner_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!isSelf(child)) {
            return inner_->get_accRole(child, role);
        }
        if (!role) {
            return E_POINTER;
        }
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_PUSHBUTTON;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return isSelf(child) ? text(L"Press", action) : inner_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!isSelf(child)) {
            return inner_->accDoDefaultAction(child);
        }
        PostMessageW(window_, BM_CLICK, 0, 0);
        return S_OK;
    }

    // IAccessible: the standard object's answers.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override {
        return inner_->get_accParent(p);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* n) override {
        return inner_->get_accChildCount(n);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** d) override {
        return inner_->get_accChild(c, d);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT c, BSTR* v) override {
        return inner_->get_accValue(c, v);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* d) override {
        return inner_->get_accDescription(c, d);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* s) override {
        return inner_->get_accState(c, s);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* h) override {
        return inner_->get_accHelp(c, h);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, long* t) override {
        return inner_->get_accHelpTopic(f, c, t);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* k) override {
        return inner_->get_accKeyboardShortcut(c, k);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* f) override { return inner_->get_accFocus(f); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* s) override {
        return inner_->get_accSelection(s);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long f, VARIANT c) override {
        return inner_->accSelect(f, c);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* l, long* t, long* w, long* h, VARIANT c) override {
        return inner_->accLocation(l, t, w, h, c);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long d, VARIANT s, VARIANT* e) override {
        return inner_->accNavigate(d, s, e);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* c) override {
        return inner_->accHitTest(x, y, c);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR n) override {
        return inner_->put_accName(c, n);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR v) override {
        return inner_->put_accValue(c, v);
    }

  private:
    ~AccessibleButton() { inner_->Release(); }

    std::atomic<ULONG> refs_{1};
    IAccessible* inner_;
    HWND window_;
    std::wstring name_;
};

} // namespace

std::string accessibleName(const std::string& caption, const std::string& hint) {
    std::string name;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                name += '&';
                ++i;
            }
            continue;
        }
        name += caption[i];
    }
    return name.empty() ? hint : name;
}

LRESULT TCustomGlyphButton::accessibleObject(WPARAM wp, LPARAM lp) {
    const AccessibilityLibrary& library = accessibility();
    if (!library.createStandardObject || !library.resultFromObject || !library.allocString) {
        return 0;
    }
    IAccessible* standard = nullptr;
    if (FAILED(library.createStandardObject(handle(), static_cast<LONG>(lp), __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&standard))) ||
        !standard) {
        return 0;
    }
    auto* button = new AccessibleButton(standard, handle(), widen(accessibleName(caption_, hint_)));
    standard->Release();
    LRESULT result = library.resultFromObject(__uuidof(IAccessible), wp, button);
    button->Release();
    return result > 0 ? result : 0;
}

} // namespace sc::controls
