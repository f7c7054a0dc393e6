#include "accessible_tree.h"

#include <cstdio>
#include <set>

namespace acctree {

namespace {

std::string utf8(const wchar_t* text, int length = -1) {
    if (!text) {
        return {};
    }
    int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (n <= 0) {
        return {};
    }
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), n, nullptr, nullptr);
    if (length < 0) {
        out.pop_back(); // the terminating zero
    }
    return out;
}

VARIANT childId(long id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

template <typename Get> std::string text(Get get) {
    BSTR value = nullptr;
    std::string out;
    if (get(&value) == S_OK && value) {
        out = utf8(value, static_cast<int>(SysStringLen(value)));
    }
    SysFreeString(value);
    return out;
}

void readRole(IAccessible& object, AccessibleNode& node) {
    VARIANT role;
    VariantInit(&role);
    if (object.get_accRole(childId(node.child), &role) == S_OK) {
        if (role.vt == VT_I4) {
            node.roleId = role.lVal;
            wchar_t name[128] = {};
            GetRoleTextW(static_cast<DWORD>(role.lVal), name, 128);
            node.role = utf8(name);
        } else if (role.vt == VT_BSTR) {
            node.role = utf8(role.bstrVal);
        }
    }
    VariantClear(&role);
}

// The states by the platform's names; a state the platform has no name for in hexadecimal.
void readStates(IAccessible& object, AccessibleNode& node) {
    VARIANT state;
    VariantInit(&state);
    if (object.get_accState(childId(node.child), &state) == S_OK && state.vt == VT_I4) {
        node.stateBits = state.lVal;
        // Up to "has popup", which lies above STATE_SYSTEM_VALID.
        for (DWORD bit = 1; bit <= static_cast<DWORD>(STATE_SYSTEM_HASPOPUP); bit <<= 1) {
            if (static_cast<DWORD>(state.lVal) & bit) {
                wchar_t name[128] = {};
                std::string text = GetStateTextW(bit, name, 128) > 0 ? utf8(name) : "";
                if (text.empty()) {
                    char hex[16];
                    std::snprintf(hex, sizeof hex, "0x%08lx", static_cast<unsigned long>(bit));
                    text = hex;
                }
                node.states += (node.states.empty() ? "" : ", ") + text;
            }
        }
    }
    VariantClear(&state);
}

AccessibleNode describe(const ComRef<IAccessible>& object, long child, int depth) {
    AccessibleNode node;
    node.depth = depth;
    node.object = object;
    node.child = child;
    IAccessible& a = *object.get();
    readRole(a, node);
    readStates(a, node);
    node.name = text([&](BSTR* v) { return a.get_accName(childId(child), v); });
    node.description = text([&](BSTR* v) { return a.get_accDescription(childId(child), v); });
    node.action = text([&](BSTR* v) { return a.get_accDefaultAction(childId(child), v); });
    return node;
}

class Walker {
  public:
    std::vector<AccessibleNode> nodes;

    void window(HWND hwnd, int depth) {
        if (!seen_.insert(hwnd).second || depth > kDeepest) {
            return;
        }
        IAccessible* client = nullptr;
        if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT),
                                              __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&client))) ||
            !client) {
            return;
        }
        object(ComRef<IAccessible>(client), hwnd, depth);
        // Child windows that the object did not present.
        for (HWND w = GetWindow(hwnd, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
            window(w, depth + 1);
        }
    }

  private:
    static constexpr int kDeepest = 24;

    void object(const ComRef<IAccessible>& acc, HWND hwnd, int depth) {
        nodes.push_back(describe(acc, CHILDID_SELF, depth));
        long count = 0;
        if (acc->get_accChildCount(&count) != S_OK || count <= 0 || depth > kDeepest) {
            return;
        }
        std::vector<VARIANT> children(static_cast<std::size_t>(count));
        long got = 0;
        if (FAILED(AccessibleChildren(acc.get(), 0, count, children.data(), &got))) {
            got = 0;
        }
        for (long i = 0; i < got; ++i) {
            VARIANT& c = children[static_cast<std::size_t>(i)];
            if (c.vt == VT_I4) {
                nodes.push_back(describe(acc, c.lVal, depth + 1));
            } else if (c.vt == VT_DISPATCH && c.pdispVal) {
                IAccessible* child = nullptr;
                if (SUCCEEDED(c.pdispVal->QueryInterface(__uuidof(IAccessible),
                                                         reinterpret_cast<void**>(&child))) &&
                    child) {
                    ComRef<IAccessible> held(child);
                    HWND w = nullptr;
                    if (SUCCEEDED(WindowFromAccessibleObject(child, &w)) && w && w != hwnd) {
                        window(w, depth + 1);
                    } else {
                        object(held, hwnd, depth + 1);
                    }
                }
            }
            VariantClear(&c);
        }
    }

    std::set<HWND> seen_;
};

} // namespace

std::string AccessibleNode::line() const {
    std::string out(static_cast<std::size_t>(depth) * 2, ' ');
    out += role + " \"" + name + "\"";
    if (!description.empty()) {
        out += " description \"" + description + "\"";
    }
    if (!states.empty()) {
        out += " (" + states + ")";
    }
    if (!action.empty()) {
        out += " action \"" + action + "\"";
    }
    return out;
}

std::vector<AccessibleNode> accessibleTree(HWND window) {
    Walker walker;
    walker.window(window, 0);
    return std::move(walker.nodes);
}

const AccessibleNode* findNode(const std::vector<AccessibleNode>& tree, long role,
                               const std::string& name) {
    for (const AccessibleNode& node : tree) {
        if (node.roleId == role && node.name == name) {
            return &node;
        }
    }
    return nullptr;
}

} // namespace acctree
