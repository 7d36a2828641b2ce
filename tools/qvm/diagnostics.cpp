#include "diagnostics.hpp"

#include "bus.hpp"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <optional>
#include <systemd/sd-bus.h>
#include <vector>

namespace qvmcli
{
namespace
{

// syslog priorities up to this one are failures and warnings.
constexpr int kWarning = 4;
constexpr int kPriorityMask = 7;

struct LogLine
{
    int priority;
    std::string text;
};

bool verbose = false;
std::vector<LogLine> logged;
std::optional<BusFailure> busFailure;

// The definition that the tool's own one hides.
template <typename F> F next(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

std::string withoutNewline(std::string text)
{
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

// Only failures and warnings are shown after the command, so only they
// are kept; a trace line is formatted only for --verbose.
void keep(int priority, const char* format, va_list args)
{
    priority &= kPriorityMask;
    if (!verbose && priority > kWarning)
        return;
    char text[1024];
    std::vsnprintf(text, sizeof text, format, args);
    LogLine line{priority, withoutNewline(text)};
    if (verbose)
        std::fprintf(stderr, "qvm: library: %s\n", line.text.c_str());
    if (priority <= kWarning)
        logged.push_back(std::move(line));
}

void keepFailure(sd_bus_message* call, const sd_bus_error* error, int r)
{
    const char* member = sd_bus_message_get_member(call);
    const char* destination = sd_bus_message_get_destination(call);
    BusFailure failure{std::string(member ? member : "?") + " of " +
                           (destination ? destination : "?"),
                       "", std::strerror(-r)};
    if (sd_bus_error_is_set(error))
    {
        failure.name = error->name;
        failure.message = error->message ? error->message : "";
    }
    busFailure = std::move(failure);
}

} // namespace

void setVerbose(bool on)
{
    verbose = on;
}

const BusFailure* lastBusFailure()
{
    return busFailure ? &*busFailure : nullptr;
}

void printCauses()
{
    if (busFailure)
        std::fprintf(stderr, "qvm: on the bus at %s, %s failed: %s%s%s\n",
                     busAddress().c_str(), busFailure->call.c_str(),
                     busFailure->name.c_str(),
                     busFailure->name.empty() ? "" : ": ",
                     busFailure->message.c_str());
    if (verbose)
        return; // every line has been shown already
    for (const LogLine& line : logged)
        if (line.priority <= kWarning)
            std::fprintf(stderr, "qvm: library: %s\n", line.text.c_str());
}

} // namespace qvmcli

// The library's logger opens the log, writes one line and closes it again.
extern "C" void openlog(const char* ident, int option, int facility)
{
    static const auto real =
        qvmcli::next<void (*)(const char*, int, int)>("openlog");
    real(ident, option, facility);
}

extern "C" void closelog()
{
    static const auto real = qvmcli::next<void (*)()>("closelog");
    real();
}

extern "C" void vsyslog(int priority, const char* format, va_list args)
{
    static const auto real =
        qvmcli::next<void (*)(int, const char*, va_list)>("vsyslog");
    va_list copy;
    va_copy(copy, args);
    qvmcli::keep(priority, format, copy);
    va_end(copy);
    real(priority, format, args);
}

// Fortified builds of the C library route vsyslog here instead.
extern "C" void __vsyslog_chk(int priority, int flag, const char* format,
                              va_list args)
{
    static const auto real =
        qvmcli::next<void (*)(int, int, const char*, va_list)>("__vsyslog_chk");
    va_list copy;
    va_copy(copy, args);
    qvmcli::keep(priority, format, copy);
    va_end(copy);
    real(priority, flag, format, args);
}

// Every synchronous call of the library, sd_bus_call_method's included,
// passes here.
extern "C" int sd_bus_call(sd_bus* bus, sd_bus_message* call, uint64_t usec,
                           sd_bus_error* error, sd_bus_message** reply)
{
    static const auto real =
        qvmcli::next<int (*)(sd_bus*, sd_bus_message*, uint64_t, sd_bus_error*,
                             sd_bus_message**)>("sd_bus_call");
    sd_bus_error own{};
    sd_bus_error* record = error != nullptr ? error : &own;
    const int r = real(bus, call, usec, record, reply);
    if (r < 0)
        qvmcli::keepFailure(call, record, r);
    sd_bus_error_free(&own);
    return r;
}
