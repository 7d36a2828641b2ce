// Replays documents.transcript and lists.transcript. A call line is an
// operation and its arguments; under it come the results and every syslog
// line:
//     read TEXT         readJSONdoc of a file holding the JSON TEXT, then
//                       the document as makeJSONstringFromDoc writes it
//     stamp NAME TEXT   makeJSONstringFromDocWithTimeStamp of TEXT under
//                       NAME (a word, a quoted text or null): the member
//                       after the checked time stamp, written plain
//     extract TEXT      getBIOSDataFromJSON: its status and the inventory
//     free TEXT         freeNestedJSONObjects: its status and what is left
//     emit (s VALUE KEY | d NUMBER KEY | take N)...   AddJSONString,
//                       AddJSONintValue, N texts taken from the list
//     dumphex SIZE HEX [nolist]              DumpHex of the bytes given
//     strlcat BEFORE ADD SIZE   qvmStrlCat in a 16-byte buffer, all of it
//     memtostring SRC N         MemToString into 8 bytes of 'z'
// where a null TEXT is a null document, \xNN in TEXT a byte (for bytes
// that are not UTF-8), and a null HEX a null pointer.
#include "common/handles.hpp"
#include "fields_support.hpp"
#include "qvmclient.h"
#include "support/golden.hpp"
#include "support/loaded_table.hpp"
#include "support/log_capture.hpp"

#include <ctime>
#include <gtest/gtest.h>
#include <sstream>

namespace
{

using fieldstest::plain;
namespace transcript = qvmtest::transcript;
using Results = std::vector<std::string>;

// The list's field strings, quoted, taken out of it.
Results drained(FieldList& list)
{
    return fieldstest::takeFieldStrings(list, [](const char* text)
                                        { return transcript::quoted(text); });
}

std::string withBytes(std::string text)
{
    for (auto at = text.find("\\x"); at != std::string::npos;
         at = text.find("\\x", at + 1))
        text.replace(
            at, 4, 1,
            static_cast<char>(std::stoi(text.substr(at + 2, 2), nullptr, 16)));
    return text;
}

Results read(const std::string& text)
{
    const qvmtest::TempFile file(qvmtest::Bytes(text.begin(), text.end()));
    json_object* raw = nullptr;
    const int32_t rc = readJSONdoc(file.path().c_str(), &raw);
    const qvm::JsonPtr doc(raw);
    Results out{"rc " + std::to_string(rc)};
    char* pretty = nullptr;
    if (doc && makeJSONstringFromDoc(doc.get(), &pretty) == 0)
        for (const auto& l :
             transcript::splitLines(qvm::HeapString(pretty).get()))
            out.push_back(transcript::quoted(l));
    return out;
}

Results stamp(const char* name, json_object* doc)
{
    char* out = nullptr;
    const std::time_t before = std::time(nullptr);
    const int32_t rc = makeJSONstringFromDocWithTimeStamp(doc, name, &out);
    const std::time_t after = std::time(nullptr);
    const qvm::HeapString text(out);
    return {"rc " + std::to_string(rc),
            out ? fieldstest::unwrapStamped(out, "Generated", before, after)
                : "unwritten"};
}

// Operations on the document of a JSON text; the document must come out
// of extract unchanged.
Results onDocument(const std::string& op, const std::string& text,
                   const char* name)
{
    const qvm::JsonPtr doc(json_tokener_parse(text.c_str()));
    if (op == "stamp")
        return stamp(name, doc.get());
    if (op == "free")
        return {"rc " + std::to_string(freeNestedJSONObjects(doc.get())),
                "left " + plain(doc.get())};
    const std::string before = plain(doc.get());
    json_object* raw = nullptr;
    const int32_t rc = getBIOSDataFromJSON(doc.get(), &raw);
    const qvm::JsonPtr inventory(raw);
    Results out{"rc " + std::to_string(rc) + " " +
                (raw ? plain(raw) : "unwritten")};
    if (plain(doc.get()) != before)
        out.emplace_back("the input document was changed");
    return out;
}

// The text at the front of the list, taken out of it.
std::string taken(FieldList& list)
{
    const qvm::HeapString text(qvm::takeFirstText(list));
    return "taken " + (text ? transcript::quoted(text.get()) : "null");
}

// Fields appended, and texts taken from the front of the list between.
Results emit(const transcript::Args& a)
{
    FieldList list{};
    Results out;
    for (std::size_t i = 1; i < a.size();)
    {
        const std::string kind = a.text(i);
        if (kind == "take")
        {
            for (auto n = a.number(i + 1); n > 0; --n)
                out.push_back(taken(list));
            i += 2;
            continue;
        }
        if (kind == "s")
            AddJSONString(a.text(i + 1), a.text(i + 2), &list);
        else
            AddJSONintValue(a.number(i + 1), a.text(i + 2), &list);
        i += 3;
    }
    for (const auto& text : drained(list))
        out.push_back(text);
    return out;
}

Results dumpHex(const transcript::Args& a)
{
    qvmtest::Bytes bytes;
    const std::string hex = a.text(2) ? a.text(2) : "";
    for (std::size_t j = 0; j + 1 < hex.size(); j += 2)
        bytes.push_back(static_cast<std::uint8_t>(
            std::stoul(hex.substr(j, 2), nullptr, 16)));
    FieldList list{};
    const bool noList = a.size() > 3;
    DumpHex(static_cast<uint32_t>(a.number(1)),
            a.text(2) ? bytes.data() : nullptr, noList ? nullptr : &list);
    return drained(list);
}

Results onBuffers(const std::string& op, const transcript::Args& a)
{
    if (op == "emit")
        return emit(a);
    if (op == "dumphex")
        return dumpHex(a);
    if (op == "memtostring")
    {
        char dst[8];
        std::fill(std::begin(dst), std::end(dst), 'z');
        MemToString(dst, a.text(1), a.unsignedNumber(2));
        return {transcript::quoted(std::string(dst, sizeof dst))};
    }
    char buffer[16] = {};
    std::strcpy(buffer, a.text(1));
    const auto rc = qvmStrlCat(buffer, a.text(2), a.unsignedNumber(3));
    return {"rc " + std::to_string(rc) + " " +
            transcript::quoted(std::string(buffer, sizeof buffer))};
}

Results replay(const std::string& line)
{
    std::istringstream in(line);
    std::string op;
    std::string name;
    in >> op;
    if (op == "stamp")
        in >> name;
    std::istringstream nameWords(name);
    const transcript::Args nameArgs(nameWords);
    std::string text;
    std::getline(in >> std::ws, text);
    text = withBytes(text);
    qvmtest::LogCapture log;
    Results out;
    if (op == "read")
        out = read(text);
    else if (op == "stamp" || op == "extract" || op == "free")
        out = onDocument(op, text, nameArgs.size() ? nameArgs.text(0) : "");
    else
    {
        std::istringstream words(line);
        out = onBuffers(op, transcript::Args(words));
    }
    for (const auto& l : log.transcriptLines())
        out.push_back(l);
    return out;
}

} // namespace

TEST(FieldsTranscript, DocumentsAndListsAsTheTranscriptsSay)
{
    qvmtest::expectTranscript(QVM_DOCUMENTS_TRANSCRIPT, replay);
    qvmtest::expectTranscript(QVM_LISTS_TRANSCRIPT, replay);
}
