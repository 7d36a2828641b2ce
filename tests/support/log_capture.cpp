#include "log_capture.hpp"

#include "transcript.hpp"

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace
{

std::mutex mutex;
int openFacility = 0;
std::vector<qvmtest::LogLine> captured;

} // namespace

extern "C" void openlog(const char*, int, int facility)
{
    std::lock_guard lock(mutex);
    openFacility = facility;
}

extern "C" void closelog()
{
    std::lock_guard lock(mutex);
    openFacility = 0;
}

extern "C" void vsyslog(int priority, const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    const int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    std::lock_guard lock(mutex);
    captured.push_back({openFacility, priority, std::move(text)});
}

extern "C" void syslog(int priority, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vsyslog(priority, format, args);
    va_end(args);
}

namespace qvmtest
{

LogCapture::LogCapture()
{
    clear();
}

const std::vector<LogLine>& LogCapture::lines() const
{
    return captured;
}

std::vector<std::string> LogCapture::transcriptLines() const
{
    std::vector<std::string> out;
    for (const auto& l : lines())
        out.push_back("log " + std::to_string(l.facility) + " " +
                      std::to_string(l.priority) + " " +
                      transcript::quoted(l.text));
    return out;
}

void LogCapture::clear()
{
    std::lock_guard lock(mutex);
    captured.clear();
}

} // namespace qvmtest

// Fortified builds of the C library route syslog calls here instead.
extern "C" void __vsyslog_chk(int priority, int, const char* format,
                              va_list args)
{
    vsyslog(priority, format, args);
}

extern "C" void __syslog_chk(int priority, int, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vsyslog(priority, format, args);
    va_end(args);
}
