// qvm is linked without libsystemd (see lazy_library.hpp). Most of its
// runs read a table and never touch a bus, and loading libsystemd with the
// six libraries it needs costs each run about half a millisecond, as much
// as exporting a few hundred structures.
//
// When libsystemd cannot be opened, every call fails as sd-bus fails, with
// -ELIBACC or a null result, so the bus commands say that they cannot
// connect.
#include "lazy_library.hpp"

#include <cerrno>
#include <cstdarg>
#include <systemd/sd-bus.h>
#include <type_traits>

namespace
{

struct Systemd
{
    static constexpr char kName[] = "libsystemd.so.0";
    template <typename R> static R missing()
    {
        if constexpr (std::is_pointer_v<R>)
            return nullptr;
        else if constexpr (!std::is_void_v<R>)
            return -ELIBACC;
    }
};

} // namespace

int sd_bus_default(sd_bus** bus)
{
    return QVM_LAZY(Systemd, sd_bus_default)(bus);
}
sd_bus* sd_bus_unref(sd_bus* bus)
{
    return QVM_LAZY(Systemd, sd_bus_unref)(bus);
}
int sd_bus_set_method_call_timeout(sd_bus* bus, uint64_t usec)
{
    return QVM_LAZY(Systemd, sd_bus_set_method_call_timeout)(bus, usec);
}
int sd_bus_get_method_call_timeout(sd_bus* bus, uint64_t* usec)
{
    return QVM_LAZY(Systemd, sd_bus_get_method_call_timeout)(bus, usec);
}
int sd_bus_process(sd_bus* bus, sd_bus_message** m)
{
    return QVM_LAZY(Systemd, sd_bus_process)(bus, m);
}
int sd_bus_wait(sd_bus* bus, uint64_t timeout_usec)
{
    return QVM_LAZY(Systemd, sd_bus_wait)(bus, timeout_usec);
}
int sd_bus_add_match(sd_bus* bus, sd_bus_slot** slot, const char* match,
                     sd_bus_message_handler_t callback, void* userdata)
{
    return QVM_LAZY(Systemd, sd_bus_add_match)(bus, slot, match, callback,
                                               userdata);
}
int sd_bus_call(sd_bus* bus, sd_bus_message* m, uint64_t usec,
                sd_bus_error* ret_error, sd_bus_message** reply)
{
    return QVM_LAZY(Systemd, sd_bus_call)(bus, m, usec, ret_error, reply);
}
int sd_bus_get_property_string(sd_bus* bus, const char* destination,
                               const char* path, const char* interface,
                               const char* member, sd_bus_error* ret_error,
                               char** ret)
{
    return QVM_LAZY(Systemd, sd_bus_get_property_string)(
        bus, destination, path, interface, member, ret_error, ret);
}
int sd_bus_call_method(sd_bus* bus, const char* destination, const char* path,
                       const char* interface, const char* member,
                       sd_bus_error* ret_error, sd_bus_message** reply,
                       const char* types, ...)
{
    va_list ap;
    va_start(ap, types);
    const int r = QVM_LAZY(Systemd, sd_bus_call_methodv)(
        bus, destination, path, interface, member, ret_error, reply, types, ap);
    va_end(ap);
    return r;
}

int sd_bus_message_new_method_call(sd_bus* bus, sd_bus_message** m,
                                   const char* destination, const char* path,
                                   const char* interface, const char* member)
{
    return QVM_LAZY(Systemd, sd_bus_message_new_method_call)(
        bus, m, destination, path, interface, member);
}
sd_bus_message* sd_bus_message_unref(sd_bus_message* m)
{
    return QVM_LAZY(Systemd, sd_bus_message_unref)(m);
}
int sd_bus_message_get_type(sd_bus_message* m, uint8_t* type)
{
    return QVM_LAZY(Systemd, sd_bus_message_get_type)(m, type);
}
const char* sd_bus_message_get_path(sd_bus_message* m)
{
    return QVM_LAZY(Systemd, sd_bus_message_get_path)(m);
}
int sd_bus_message_appendv(sd_bus_message* m, const char* types, va_list ap)
{
    return QVM_LAZY(Systemd, sd_bus_message_appendv)(m, types, ap);
}
int sd_bus_message_append_strv(sd_bus_message* m, char** l)
{
    return QVM_LAZY(Systemd, sd_bus_message_append_strv)(m, l);
}
int sd_bus_message_append(sd_bus_message* m, const char* types, ...)
{
    va_list ap;
    va_start(ap, types);
    const int r = QVM_LAZY(Systemd, sd_bus_message_appendv)(m, types, ap);
    va_end(ap);
    return r;
}
int sd_bus_message_read(sd_bus_message* m, const char* types, ...)
{
    va_list ap;
    va_start(ap, types);
    const int r = QVM_LAZY(Systemd, sd_bus_message_readv)(m, types, ap);
    va_end(ap);
    return r;
}
int sd_bus_message_read_basic(sd_bus_message* m, char type, void* p)
{
    return QVM_LAZY(Systemd, sd_bus_message_read_basic)(m, type, p);
}
int sd_bus_message_peek_type(sd_bus_message* m, char* type,
                             const char** contents)
{
    return QVM_LAZY(Systemd, sd_bus_message_peek_type)(m, type, contents);
}
int sd_bus_message_enter_container(sd_bus_message* m, char type,
                                   const char* contents)
{
    return QVM_LAZY(Systemd, sd_bus_message_enter_container)(m, type, contents);
}
int sd_bus_message_exit_container(sd_bus_message* m)
{
    return QVM_LAZY(Systemd, sd_bus_message_exit_container)(m);
}

void sd_bus_error_free(sd_bus_error* e)
{
    QVM_LAZY(Systemd, sd_bus_error_free)(e);
}
// Answered here: the question needs no library, and without one the
// missing function's -ELIBACC would read as "set".
int sd_bus_error_is_set(const sd_bus_error* e)
{
    return e != nullptr && e->name != nullptr;
}
