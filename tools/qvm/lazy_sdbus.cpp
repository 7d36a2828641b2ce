// qvm is linked without libsystemd. Most of its runs read a table and never
// touch a bus, and loading libsystemd with the six libraries it needs costs
// each run about half a millisecond, as much as exporting a few hundred
// structures. The sd-bus functions that qvm and the core call are defined
// here instead: each opens libsystemd on the first call of any of them and
// hands on to the library's own function.
//
// The definitions below are checked against <systemd/sd-bus.h> by the
// compiler, and a function the core starts to call without a definition
// here fails qvm's link. When libsystemd cannot be opened, every call fails
// as sd-bus fails, with -ELIBACC or a null result, so the bus commands say
// that they cannot connect.
#include <systemd/sd-bus.h>

#include <cerrno>
#include <cstdarg>
#include <type_traits>

#include <dlfcn.h>

namespace
{

void* symbol(const char* name)
{
    static void* const library =
        dlopen("libsystemd.so.0", RTLD_NOW | RTLD_LOCAL);
    return library != nullptr ? dlsym(library, name) : nullptr;
}

// What a function of libsystemd gives when the library is missing.
template <auto Fn> struct Missing;
template <typename R, typename... A, R (*Fn)(A...)> struct Missing<Fn>
{
    static R call(A...)
    {
        if constexpr (std::is_pointer_v<R>)
            return nullptr;
        else if constexpr (!std::is_void_v<R>)
            return -ELIBACC;
    }
};

// The library's own Fn, looked up once.
template <auto Fn> decltype(Fn) real(const char* name)
{
    static const decltype(Fn) found = [name]
    {
        void* const address = symbol(name);
        return address != nullptr ? reinterpret_cast<decltype(Fn)>(address)
                                  : &Missing<Fn>::call;
    }();
    return found;
}

} // namespace

#define QVM_REAL(fn) real<&fn>(#fn)

int sd_bus_default(sd_bus** bus)
{
    return QVM_REAL(sd_bus_default)(bus);
}
sd_bus* sd_bus_unref(sd_bus* bus)
{
    return QVM_REAL(sd_bus_unref)(bus);
}
int sd_bus_set_method_call_timeout(sd_bus* bus, uint64_t usec)
{
    return QVM_REAL(sd_bus_set_method_call_timeout)(bus, usec);
}
int sd_bus_get_method_call_timeout(sd_bus* bus, uint64_t* usec)
{
    return QVM_REAL(sd_bus_get_method_call_timeout)(bus, usec);
}
int sd_bus_process(sd_bus* bus, sd_bus_message** m)
{
    return QVM_REAL(sd_bus_process)(bus, m);
}
int sd_bus_wait(sd_bus* bus, uint64_t timeout_usec)
{
    return QVM_REAL(sd_bus_wait)(bus, timeout_usec);
}
int sd_bus_add_match(sd_bus* bus, sd_bus_slot** slot, const char* match,
                     sd_bus_message_handler_t callback, void* userdata)
{
    return QVM_REAL(sd_bus_add_match)(bus, slot, match, callback, userdata);
}
int sd_bus_call(sd_bus* bus, sd_bus_message* m, uint64_t usec,
                sd_bus_error* ret_error, sd_bus_message** reply)
{
    return QVM_REAL(sd_bus_call)(bus, m, usec, ret_error, reply);
}
int sd_bus_get_property_string(sd_bus* bus, const char* destination,
                               const char* path, const char* interface,
                               const char* member, sd_bus_error* ret_error,
                               char** ret)
{
    return QVM_REAL(sd_bus_get_property_string)(bus, destination, path,
                                                 interface, member, ret_error,
                                                 ret);
}
int sd_bus_call_method(sd_bus* bus, const char* destination, const char* path,
                       const char* interface, const char* member,
                       sd_bus_error* ret_error, sd_bus_message** reply,
                       const char* types, ...)
{
    va_list ap;
    va_start(ap, types);
    const int r = QVM_REAL(sd_bus_call_methodv)(
        bus, destination, path, interface, member, ret_error, reply, types, ap);
    va_end(ap);
    return r;
}

int sd_bus_message_new_method_call(sd_bus* bus, sd_bus_message** m,
                                   const char* destination, const char* path,
                                   const char* interface, const char* member)
{
    return QVM_REAL(sd_bus_message_new_method_call)(bus, m, destination, path,
                                                     interface, member);
}
sd_bus_message* sd_bus_message_unref(sd_bus_message* m)
{
    return QVM_REAL(sd_bus_message_unref)(m);
}
int sd_bus_message_get_type(sd_bus_message* m, uint8_t* type)
{
    return QVM_REAL(sd_bus_message_get_type)(m, type);
}
const char* sd_bus_message_get_path(sd_bus_message* m)
{
    return QVM_REAL(sd_bus_message_get_path)(m);
}
int sd_bus_message_appendv(sd_bus_message* m, const char* types, va_list ap)
{
    return QVM_REAL(sd_bus_message_appendv)(m, types, ap);
}
int sd_bus_message_append(sd_bus_message* m, const char* types, ...)
{
    va_list ap;
    va_start(ap, types);
    const int r = QVM_REAL(sd_bus_message_appendv)(m, types, ap);
    va_end(ap);
    return r;
}
int sd_bus_message_read(sd_bus_message* m, const char* types, ...)
{
    va_list ap;
    va_start(ap, types);
    const int r = QVM_REAL(sd_bus_message_readv)(m, types, ap);
    va_end(ap);
    return r;
}
int sd_bus_message_read_basic(sd_bus_message* m, char type, void* p)
{
    return QVM_REAL(sd_bus_message_read_basic)(m, type, p);
}
int sd_bus_message_peek_type(sd_bus_message* m, char* type,
                             const char** contents)
{
    return QVM_REAL(sd_bus_message_peek_type)(m, type, contents);
}
int sd_bus_message_enter_container(sd_bus_message* m, char type,
                                   const char* contents)
{
    return QVM_REAL(sd_bus_message_enter_container)(m, type, contents);
}
int sd_bus_message_exit_container(sd_bus_message* m)
{
    return QVM_REAL(sd_bus_message_exit_container)(m);
}

void sd_bus_error_free(sd_bus_error* e)
{
    QVM_REAL(sd_bus_error_free)(e);
}
// Answered here: the question needs no library, and without one the
// missing function's -ELIBACC would read as "set".
int sd_bus_error_is_set(const sd_bus_error* e)
{
    return e != nullptr && e->name != nullptr;
}
