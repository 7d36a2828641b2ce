#include "smbios/table_view.hpp"

namespace qvm::smbios
{

TableView::Iterator::Iterator(std::span<const std::uint8_t> table,
                              std::size_t offset) noexcept
    : table_(table)
{
    settle(offset);
}

void TableView::Iterator::settle(std::size_t offset) noexcept
{
    entry_ = TableEntry{};
    if (offset >= table_.size())
        return;
    StructureView view(table_.subspan(offset));
    const auto size = view.wholeSize();
    if (!size)
        return;
    entry_ = TableEntry{view, offset, *size};
}

TableView::Iterator& TableView::Iterator::operator++() noexcept
{
    if (entry_.size != 0)
        settle(entry_.offset + entry_.size);
    return *this;
}

TableView::Iterator TableView::Iterator::operator++(int) noexcept
{
    Iterator before = *this;
    ++*this;
    return before;
}

// Addresses are compared as integers: the address may come from a caller
// and need not point into the table at all.
bool TableView::contains(const void* address) const noexcept
{
    const auto start = reinterpret_cast<std::uintptr_t>(bytes_.data());
    const auto where = reinterpret_cast<std::uintptr_t>(address);
    return address != nullptr && where >= start &&
           where - start < bytes_.size();
}

StructureView TableView::viewAt(const void* address) const noexcept
{
    if (!contains(address))
        return {};
    const auto offset = reinterpret_cast<std::uintptr_t>(address) -
                        reinterpret_cast<std::uintptr_t>(bytes_.data());
    return StructureView(bytes_.subspan(offset));
}

} // namespace qvm::smbios
