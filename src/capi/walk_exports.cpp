// String lookup, the walk by handles and the selection by type.
#include "capi/table_state.hpp"
#include "common/handles.hpp"
#include "qvmclient.h"

#include <algorithm>
#include <cstdlib>

namespace
{

using qvm::smbios::kNoHandle;
using qvm::smbios::TableView;
using qvm::smbios::zeroedArray;

// Where the last walk by handles of this thread stands: the structure it
// announced as the next one, by handle and position. Asking for that handle
// resumes there instead of searching from the start. This keeps a walk
// linear, and makes it reach every structure and end even when two
// structures share a handle (a search would find the first of them again
// and again). Per thread, so that concurrent readers do not disturb each
// other; keyed by the table generation, so it never outlives its table.
struct WalkCursor
{
    std::uint64_t generation = 0;
    std::size_t offset = 0;
    std::uint16_t handle = kNoHandle;
    bool set = false;
};
thread_local WalkCursor cursor;

TableView::Iterator resumeAtCursor(const TableView& table,
                                   std::uint16_t handle) noexcept
{
    if (!cursor.set || cursor.handle != handle ||
        cursor.generation != qvm::smbios::tableGeneration())
        return {};
    auto resumed = table.from(cursor.offset);
    if (resumed != table.end() && resumed->view.handle() != handle)
        return {};
    return resumed;
}

TableView::Iterator findStructure(const TableView& table,
                                  std::uint16_t handle) noexcept
{
    if (handle == kNoHandle)
        return table.begin();
    if (auto resumed = resumeAtCursor(table, handle); resumed != table.end())
        return resumed;
    auto it = table.begin();
    while (it != table.end() && it->view.handle() != handle)
        ++it;
    return it;
}

// A selection holds at most 0xFFFF structures (its count is a u16): the
// first ones of the type, in table order.
std::uint16_t countOfType(const TableView& table, std::uint8_t type) noexcept
{
    std::uint16_t count = 0;
    for (const auto& entry : table)
        if (entry.view.type() == type && count != UINT16_MAX)
            ++count;
    return count;
}

} // namespace

extern "C" char* SmbiosGetString(uint8_t** slot, uint16_t number)
{
    if (slot == nullptr || number == 0 || *slot == nullptr)
        return nullptr;
    const auto found = qvm::smbios::loadedTable().viewAt(*slot).lookup(number);
    if (found.text != nullptr)
        return qvm::smbios::handedOut(found.text);
    if (found.next)
        *slot += *found.next;
    return nullptr;
}

extern "C" int64_t SmbiosGetStructure(uint16_t* handle, uint8_t** structure,
                                      uint16_t* length)
{
    if (handle == nullptr || structure == nullptr || length == nullptr)
        return QVM_RC_INVALID_REQUEST;
    *length = 0;
    const auto table = qvm::smbios::loadedTable();
    auto it = findStructure(table, *handle);
    cursor.set = false;
    if (it == table.end())
    {
        *handle = kNoHandle;
        return QVM_RC_NOT_FOUND;
    }
    *structure = qvm::smbios::handedOut(it->view.data());
    *length = static_cast<uint16_t>(it->size);
    if (++it == table.end())
    {
        *handle = kNoHandle;
        return QVM_RC_SUCCESS;
    }
    *handle = it->view.handle();
    cursor = {qvm::smbios::tableGeneration(), it->offset, *handle, true};
    return QVM_RC_SUCCESS;
}

extern "C" int64_t SmbiosGetStructureOfType(uint8_t type, uint8_t*** structures,
                                            uint16_t** lengths, uint16_t* count)
{
    if (count == nullptr)
        return QVM_RC_INVALID_REQUEST;
    const auto table = qvm::smbios::loadedTable();
    if (!table.hasStructures())
        return QVM_RC_NOT_FOUND;
    const std::uint16_t total = countOfType(table, type);
    *count = total;
    if (structures == nullptr && lengths == nullptr)
        return QVM_RC_SUCCESS;
    if (structures == nullptr || lengths == nullptr)
        return QVM_RC_INVALID_REQUEST;

    auto list = zeroedArray<uint8_t*>(total);
    auto sizes = zeroedArray<uint16_t>(total);
    if (!list || !sizes)
        return QVM_RC_NO_RESOURCES;
    std::size_t filled = 0;
    for (auto it = table.begin(); it != table.end() && filled < total; ++it)
    {
        if (it->view.type() != type)
            continue;
        list.get()[filled] = qvm::smbios::handedOut(it->view.data());
        sizes.get()[filled] = static_cast<uint16_t>(it->size);
        ++filled;
    }
    *structures = list.release();
    *lengths = sizes.release();
    return QVM_RC_SUCCESS;
}
