#include "smbios/structure_json.hpp"

#include "common/handles.hpp"
#include "fields/json_text.hpp"
#include "fields/plain_object.hpp"
#include "qvmclient.h"
#include "smbios/mapping/row_engine.hpp"
#include "smbios/table.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace qvm::smbios
{
namespace
{

constexpr std::uint8_t kInactive = 126;
constexpr std::uint8_t kEndOfTable = 127;

// Frees whatever a field list still holds.
struct FieldListOwner
{
    FieldList list{};
    FieldListOwner() = default;
    FieldListOwner(const FieldListOwner&) = delete;
    FieldListOwner& operator=(const FieldListOwner&) = delete;
    ~FieldListOwner()
    {
        while (FieldNode* node = list.head)
        {
            list.head = node->next;
            std::free(node->text);
            std::free(node);
        }
    }
};

// The field strings moved out of their list, freed on every path.
class FieldArray
{
  public:
    explicit FieldArray(std::uint32_t count)
        : count_(count),
          texts_(static_cast<char**>(std::calloc(count + 1U, sizeof(char*))))
    {
    }
    FieldArray(const FieldArray&) = delete;
    FieldArray& operator=(const FieldArray&) = delete;
    ~FieldArray()
    {
        if (texts_ == nullptr)
            return;
        for (std::uint32_t i = 0; i < count_; ++i)
            std::free(texts_[i]);
        std::free(texts_);
    }
    explicit operator bool() const { return texts_ != nullptr; }
    char** data() const { return texts_; }

    // Takes each text and releases each node as it passes.
    void drain(FieldList& list)
    {
        for (std::uint32_t i = 0; list.head != nullptr; ++i)
        {
            FieldNode* node = list.head;
            list.head = node->next;
            texts_[i] = node->text;
            std::free(node);
        }
        list.tail = nullptr;
    }

  private:
    std::uint32_t count_;
    char** texts_;
};

// Types without a mapping of their own: the whole structure as hex lines.
constexpr mapping::FieldRow kGenericDump[] = {
    mapping::label("Generic", "Dump"),
    mapping::dumpWhole(),
};

// Header fields and the structure's own fields; a status other than 0 ends
// the conversion early.
std::int64_t collectFields(const StructureView& view, std::size_t wholeSize,
                           FieldList* list)
{
    AddJSONintValue(view.type(), "Table Type", list);
    AddJSONintValue(view.length(), "Length", list);
    AddJSONintValue(view.handle(), "Handle", list);
    const std::uint8_t type = view.type();
    if (type == kInactive || type == kEndOfTable)
        return 0;
    const mapping::Mapping rows = mapping::mappingFor(type);
    return mapping::runMapping(
        rows.empty() ? mapping::Mapping(kGenericDump) : rows,
        {view, decode::loadedTableVersion(), list, wholeSize});
}

} // namespace

StructureJson structureJson(const StructureView& view, std::size_t wholeSize)
{
    StructureJson result;
    FieldListOwner fields;
    if ((result.status = collectFields(view, wholeSize, &fields.list)) != 0)
        return result;
    FieldArray array(fields.list.count);
    if (!array)
    {
        result.status = QVM_RC_NO_RESOURCES;
        return result;
    }
    const auto count = static_cast<std::int32_t>(fields.list.count);
    array.drain(fields.list);
    // Most structures are flat lists of texts and integers: their text is
    // written straight away, the same bytes as through a json-c document.
    // Such a text holds no doubles, so only bytes above 0x7F (a host
    // string's) can need the strict pass.
    char* text = nullptr;
    if (auto plain = plainObjectText(count, array.data()))
    {
        if (std::all_of(plain->begin(), plain->end(),
                        [](char c) { return (c & 0x80) == 0; }))
        {
            result.text = std::move(*plain);
            return result;
        }
        text = strictJsonCopy(*plain);
        result.status = text != nullptr ? 0 : QVM_RC_NO_RESOURCES;
    }
    else
    {
        result.status = make_a_json_string(count, array.data(), nullptr, &text);
    }
    const HeapString owned(text);
    if (result.status != QVM_RC_SUCCESS)
        return result;
    try
    {
        result.text.assign(owned.get());
    }
    catch (const std::bad_alloc&)
    {
        result.status = QVM_RC_NO_RESOURCES;
    }
    return result;
}

} // namespace qvm::smbios

extern "C" int64_t qvmSmbiosAddStructure(uint8_t** slot, uint32_t size,
                                         const char* path)
{
    if (slot == nullptr || path == nullptr)
        return QVM_RC_INVALID_REQUEST;
    // Only structures of the loaded table are read.
    const auto view = qvm::smbios::loadedTable().viewAt(*slot);
    if (!view.valid())
        return QVM_RC_INVALID_REQUEST;
    const auto json = qvm::smbios::structureJson(view, size);
    if (json.status != QVM_RC_SUCCESS)
        return json.status;
    const qvm::FilePtr file(std::fopen(path, "a+"));
    if (!file)
        return QVM_RC_FAILED;
    std::fwrite(json.text.data(), 1, json.text.size(), file.get());
    return QVM_RC_SUCCESS;
}
