#include "smbios/view/faithful_sink.hpp"

#include "common/handles.hpp"
#include "common/text.hpp"
#include "fields/json_escape.hpp"
#include "fields/json_text.hpp"

#include <algorithm>
#include <new>

namespace qvm::smbios
{

std::string jsonString(std::string_view text)
{
    std::string json = "\"";
    const bool wide = appendJsonEscaped(json, text, Slash::asIs);
    json += '"';
    if (!wide)
        return json;
    const HeapString strict(strictJsonCopy(json));
    if (!strict)
        throw std::bad_alloc();
    return strict.get();
}

std::string FaithfulField::json() const
{
    if (values.size() == 1 && !list)
        return values.front();
    std::string array = "[";
    for (std::size_t i = 0; i < values.size(); ++i)
    {
        if (i != 0)
            array += ", ";
        array += values[i];
    }
    return array + "]";
}

FaithfulField& FaithfulSink::fieldFor(const char* key)
{
    const std::string_view name = orEmpty(key);
    const auto found =
        std::find_if(fields_.begin(), fields_.end(),
                     [name](const FaithfulField& f) { return f.key == name; });
    if (found != fields_.end())
        return *found;
    return fields_.emplace_back(FaithfulField{std::string(name), {}, false});
}

void FaithfulSink::add(const char* key, std::string json)
{
    fieldFor(key).values.push_back(std::move(json));
}

void FaithfulSink::integer(const char* key, std::int64_t value)
{
    add(key, decimalString(value));
}

void FaithfulSink::unsignedInteger(const char* key, std::uint64_t value)
{
    add(key, decimalString(value));
}

void FaithfulSink::bitWeight(const char* key, std::uint32_t weight)
{
    add(key, decimalString(weight));
}

void FaithfulSink::text(const char* key, const char* value)
{
    add(key, value != nullptr ? jsonString(value) : "null");
}

void FaithfulSink::flag(const char* key, bool set)
{
    add(key, set ? "true" : "false");
}

void FaithfulSink::null(const char* key)
{
    add(key, "null");
}

void FaithfulSink::list(const char* key)
{
    fieldFor(key).list = true;
}

} // namespace qvm::smbios
