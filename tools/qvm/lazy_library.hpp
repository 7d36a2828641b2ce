// Functions of a shared library that qvm opens on their first call instead
// of at every start. qvm is linked without the library; a file of
// forwarders defines each function that qvm and the core call, with the
// library's own declaration (so the compiler checks every signature, and
// a function without a forwarder fails qvm's link), and hands each call
// on to the library's function:
//
//     sd_bus* sd_bus_unref(sd_bus* bus)
//     {
//         return QVM_LAZY(Systemd, sd_bus_unref)(bus);
//     }
//
// A Library is a type with `static constexpr char kName[]`, the file
// dlopen opens, and `template <typename R> static R missing()`, what a
// call gives when the library or the function cannot be found.
#pragma once

#include <dlfcn.h>

namespace qvmcli::lazy
{

template <typename Library> void* symbol(const char* name)
{
    static void* const library = dlopen(Library::kName, RTLD_NOW | RTLD_LOCAL);
    return library != nullptr ? dlsym(library, name) : nullptr;
}

template <typename Library, auto Fn> struct Missing;
template <typename Library, typename R, typename... A, R (*Fn)(A...)>
struct Missing<Library, Fn>
{
    static R call(A...) { return Library::template missing<R>(); }
};

// The library's own Fn, looked up once.
template <typename Library, auto Fn> decltype(Fn) real(const char* name)
{
    static const decltype(Fn) found = [name]
    {
        void* const address = symbol<Library>(name);
        return address != nullptr ? reinterpret_cast<decltype(Fn)>(address)
                                  : &Missing<Library, Fn>::call;
    }();
    return found;
}

} // namespace qvmcli::lazy

#define QVM_LAZY(Library, fn) ::qvmcli::lazy::real<Library, &fn>(#fn)
