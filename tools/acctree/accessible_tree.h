#pragma once
// What a screen reader gets from a window of this process: its client object and everything
// under it, one element a line. AccessibleObjectFromWindow does not cross processes under Wine,
// so the windows are read in the process that owns them.
#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

namespace acctree {

// Holds one reference of a COM object.
template <typename T> class ComRef {
  public:
    ComRef() = default;
    explicit ComRef(T* adopted) : object_(adopted) {}
    ComRef(const ComRef& other) : object_(other.object_) {
        if (object_) {
            object_->AddRef();
        }
    }
    ComRef& operator=(ComRef other) {
        std::swap(object_, other.object_);
        return *this;
    }
    ~ComRef() {
        if (object_) {
            object_->Release();
        }
    }
    T* get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

  private:
    T* object_ = nullptr;
};

struct AccessibleNode {
    int depth = 0;
    long roleId = 0; // ROLE_SYSTEM_...
    long stateBits = 0;
    std::string role, name, description, states, action;
    // Where the element answers: an object and a child of it (CHILDID_SELF: the object itself).
    ComRef<IAccessible> object;
    long child = CHILDID_SELF;
    // Indentation, role, name in quotes, then what there is of description, states and default
    // action: `  list item "Data CD" description "..." (selected, focusable) action "Start"`.
    std::string line() const;
};

// The client object of `window` and, depth first, its children; a child that is a window is
// read through that window's client object, and child windows that no object presents come
// after the children of the object of their parent. COM must be initialised on the thread.
std::vector<AccessibleNode> accessibleTree(HWND window);

// The first node with that role (ROLE_SYSTEM_...) and name; null when there is none.
const AccessibleNode* findNode(const std::vector<AccessibleNode>& tree, long role,
                               const std::string& name);

} // namespace acctree
