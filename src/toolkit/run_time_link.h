// Functions the program finds at run time instead of importing them: ones that older systems
// lack, and ones of libraries that nothing on the first screen needs.
#pragma once

#include <windows.h>

namespace tk {

// The function `name` of `module`, or nullptr when the module or the function is missing.
template <typename F> F ProcedureOf(HMODULE module, const char* name) {
    // The cast from the generic procedure type is how run-time look-ups work.
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

// The function `name` of `library`, which is loaded for it and stays loaded for the rest of the
// run, as an import would; nullptr when either is missing.
template <typename F> F LoadedProcedure(const wchar_t* library, const char* name) {
    return ProcedureOf<F>(LoadLibraryW(library), name);
}

} // namespace tk
