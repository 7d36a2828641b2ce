// Runs the decoder calls of a transcript through the public interface and
// checks that each one appends exactly the field strings listed under it.
//
//     decoder_transcript FILE   compare (QVM_UPDATE_GOLDEN=1: rewrite) FILE
//
// A call line is a decoder's name and its arguments, numbers (decimal or
// 0x-prefixed); byte arguments follow "/" as hex pairs, and "/ null" stands
// for a null pointer. Each field string follows on its own line, quoted.
// Every call is made first with a null list, which must append nothing.
#include "qvmclient.h"
#include "support/field_strings.hpp"
#include "support/transcript.hpp"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{

using Bytes = std::vector<uint8_t>;

struct Call
{
    std::string table; // the table argument of QueryTable and AddBitsInfo
    std::vector<uint64_t> numbers;
    std::unique_ptr<Bytes> bytes; // the bytes after "/", if any
    bool nullPointer = false;     // "/ null"
};

using Decoder = std::function<void(const Call&, FieldList*)>;

// Texts of the rows that the range rule has to tell apart: bytes 2 and 3 of
// a code are ignored, a range needs its last value above its first.
const ValueTextEntry kRuleTable[] = {
    {0x00030005, "upper bytes ignored"},
    {0x0709, "backwards range"},
    {0x0A0A, "empty range"},
    {0x0C0B, "range"},
};

// Rows out of bit order, and one for a bit that a 32-bit value lacks.
const ValueTextEntry kBitRuleTable[] = {
    {4, "Bit four"}, {0, "Bit zero"}, {31, "Top bit"}, {40, "No bit"}};

#define QVM_TABLE(name)                                                        \
    {                                                                          \
#name,                                                                 \
        {                                                                      \
            name, sizeof name / sizeof name[0]                                 \
        }                                                                      \
    }
const std::map<std::string, std::pair<const ValueTextEntry*, uint64_t>>
    kTables = {
        {"rules", {kRuleTable, sizeof kRuleTable / sizeof kRuleTable[0]}},
        {"bit-rules",
         {kBitRuleTable, sizeof kBitRuleTable / sizeof kBitRuleTable[0]}},
        {"none", {nullptr, 0}},
        QVM_TABLE(SystemWakeupTypeTable),
        QVM_TABLE(SlotCharacteristics2Table),
        QVM_TABLE(MCHostInterfaceTypeTable),
        QVM_TABLE(SELTypesTable),
        QVM_TABLE(IPMIDIBMCInterfaceTypeTable),
        QVM_TABLE(PostResultsBitmapDw1Table),
};
#undef QVM_TABLE

const Bytes& bytesOf(const Call& call)
{
    static const Bytes none;
    return call.bytes ? *call.bytes : none;
}

const uint8_t* dataOf(const Call& call)
{
    return call.bytes && !call.nullPointer ? call.bytes->data() : nullptr;
}

uint32_t arg(const Call& call, std::size_t index)
{
    return static_cast<uint32_t>(call.numbers.at(index));
}

// A little-endian field of width bytes at an odd address, between bytes that
// the decoder must not take for part of it.
template <typename Fn> Decoder atOddAddress(Fn decoder, std::size_t width)
{
    return [decoder, width](const Call& call, FieldList* list)
    {
        if (call.nullPointer)
            return decoder(nullptr, list);
        uint8_t bytes[10];
        std::memset(bytes, 0xEE, sizeof bytes);
        for (std::size_t i = 0; i < width; ++i)
            bytes[1 + i] = static_cast<uint8_t>(call.numbers.at(0) >> (8 * i));
        decoder(bytes + 1, list);
    };
}

Decoder ofValue(void (*decoder)(uint32_t, FieldList*))
{
    return [decoder](const Call& c, FieldList* list)
    { decoder(arg(c, 0), list); };
}

Decoder ofPair(void (*decoder)(uint32_t, uint32_t, FieldList*))
{
    return [decoder](const Call& c, FieldList* list)
    { decoder(arg(c, 0), arg(c, 1), list); };
}

// Decoders whose arguments a call line gives in a shape of their own.
std::map<std::string, Decoder> ownShapes()
{
    std::map<std::string, Decoder> all;
    // Byte 2 is read by the version of the loaded table: value, major, minor.
    all["qvmAddBiosCharacteristicsExt2"] = [](const Call& c, FieldList* list)
    {
        SmbiosMajorVersion = static_cast<uint8_t>(arg(c, 1));
        SmbiosMinorVersion = static_cast<uint8_t>(arg(c, 2));
        qvmAddBiosCharacteristicsExt2(arg(c, 0), list);
    };
    all["qvmAddMemoryModuleConfigHandles"] = [](const Call& c, FieldList* list)
    { qvmAddMemoryModuleConfigHandles(dataOf(c), arg(c, 0), list); };
    all["qvmAddSysEventLogHeaderType1"] = [](const Call& c, FieldList* list)
    { qvmAddSysEventLogHeaderType1(dataOf(c), list); };
    all["qvmAddSysEventLogHeader"] = [](const Call& c, FieldList* list)
    { qvmAddSysEventLogHeader(arg(c, 0), dataOf(c), list); };
    all["qvmAddElVdfInfo"] = [](const Call& c, FieldList* list)
    { qvmAddElVdfInfo(arg(c, 0), dataOf(c), list); };
    // The log is a heap block of exactly its size, so that the sanitized
    // build sees a read past its end.
    all["qvmAddSysEventLogData"] = [](const Call& c, FieldList* list)
    {
        const Bytes& log = bytesOf(c);
        qvmAddSysEventLogData(dataOf(c), static_cast<uint32_t>(log.size()),
                              list);
    };
    // QueryTable TABLE COUNT VALUE: its result, and the text it found.
    all["QueryTable"] = [](const Call& c, FieldList* list)
    {
        const auto& table = kTables.at(c.table);
        const char* text = nullptr;
        const uint32_t found =
            QueryTable(table.first, c.numbers.at(0),
                       static_cast<uint8_t>(arg(c, 1)), &text);
        if (list == nullptr)
            return;
        AddJSONintValue(found, "result", list);
        AddJSONString(text, "text", list);
    };
    all["AddBitsInfo"] = [](const Call& c, FieldList* list)
    {
        const auto& table = kTables.at(c.table);
        AddBitsInfo(table.first, arg(c, 0), arg(c, 1), list);
    };
    return all;
}

// The exported decoder a call line names: one of its own shape, one that
// reads a field of some width in place, one of a pair of values, or else
// one of a single value.
Decoder decoderNamed(const std::string& name)
{
    static const std::map<std::string, Decoder> own = ownShapes();
    static const std::map<std::string, std::size_t> inPlace = {
        {"qvmAddMcMemorySpeeds", 2},
        {"qvmAddMmMemoryType", 2},
        {"qvmAddCacheSRAMType", 2},
        {"qvmAddCacheSupportedSRAMType", 2},
        {"qvmAddMemoryDeviceTypeDetail", 2},
        {"qvmAddSPSCharacteristics", 2},
        {"qvmAddBiosCharacteristics", 8}};
    static const std::set<std::string> pairs = {
        "qvmAddMaxMemoryModuleSize", "qvmAddSystemSlotId",
        "qvmAddTpmDeviceCharacteristics"};
    if (const auto found = own.find(name); found != own.end())
        return found->second;
    void* const symbol = name.starts_with("qvmAdd")
                             ? dlsym(RTLD_DEFAULT, name.c_str())
                             : nullptr;
    if (symbol == nullptr)
        return {};
    if (const auto width = inPlace.find(name); width != inPlace.end())
        return atOddAddress(
            reinterpret_cast<decltype(&qvmAddMcMemorySpeeds)>(symbol),
            width->second);
    if (pairs.contains(name))
        return ofPair(reinterpret_cast<decltype(&qvmAddSystemSlotId)>(symbol));
    return ofValue(reinterpret_cast<decltype(&qvmAddPortType)>(symbol));
}

} // namespace

namespace
{

// A call line: name, a table name, numbers, then "/" and the bytes in hex
// (or "/ null").
bool parseCall(const std::string& line, std::string& name, Call& call)
{
    std::istringstream words(line);
    std::string word;
    words >> name;
    bool inBytes = false;
    while (words >> word)
    {
        if (word == "/")
        {
            inBytes = true;
            call.bytes = std::make_unique<Bytes>();
        }
        else if (inBytes && word == "null")
            call.nullPointer = true;
        else if (inBytes)
            call.bytes->push_back(
                static_cast<uint8_t>(std::stoul(word, nullptr, 16)));
        else if (std::isalpha(static_cast<unsigned char>(word[0])))
            call.table = word;
        else
            call.numbers.push_back(std::stoull(word, nullptr, 0));
    }
    return !name.empty();
}

// The field strings of the list, quoted, freeing the nodes on the way.
std::vector<std::string> drain(FieldList& list)
{
    return qvmtest::takeFieldStrings(
        list,
        [](const char* text) { return qvmtest::transcript::quoted(text); });
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: decoder_transcript FILE\n";
        return 2;
    }
    return qvmtest::transcript::check(
        argv[1],
        [](const std::string& line) -> std::vector<std::string>
        {
            std::string name;
            Call call;
            parseCall(line, name, call);
            const Decoder decoder = decoderNamed(name);
            if (!decoder)
                return {"<unknown decoder>"};
            decoder(call, nullptr);
            FieldList list{};
            decoder(call, &list);
            return drain(list);
        });
}
