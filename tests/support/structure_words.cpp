#include "structure_words.hpp"

#include "tablegen/sample_table.hpp"

namespace qvmtest
{
namespace
{

Bytes hexBytes(const std::string& hex)
{
    Bytes bytes;
    for (std::size_t j = 0; j + 1 < hex.size(); j += 2)
        bytes.push_back(static_cast<std::uint8_t>(
            std::stoul(hex.substr(j, 2), nullptr, 16)));
    return bytes;
}

// One setting of the open structure; i is moved past its value.
void set(StructureBuilder& s, const std::string& word,
         const transcript::Args& a, std::size_t& i)
{
    const auto value = [&] { return a.unsignedNumber(++i); };
    if (word == "len")
        s.lengthByte(static_cast<std::uint8_t>(value()));
    else if (word == "s")
        s.string(a.text(++i));
    else
    {
        const auto at = std::stoul(word.substr(1), nullptr, 0);
        switch (word[0])
        {
            case 's':
                s.string(at, a.text(++i));
                break;
            case 'x':
                s.bytes(at, hexBytes(a.text(++i)));
                break;
            case 'b':
                s.u8(at, static_cast<std::uint8_t>(value()));
                break;
            case 'w':
                s.u16(at, static_cast<std::uint16_t>(value()));
                break;
            case 'd':
                s.u32(at, static_cast<std::uint32_t>(value()));
                break;
            case 'q':
                s.u64(at, value());
                break;
        }
    }
}

} // namespace

TableBuilder tableFromWords(const transcript::Args& a, std::size_t from)
{
    TableBuilder out;
    std::vector<StructureBuilder> open; // the structure being set, if any
    const auto flush = [&]
    {
        for (const auto& s : open)
            out.add(s);
        open.clear();
    };
    for (std::size_t i = from; i < a.size(); ++i)
    {
        const std::string word = a.text(i);
        if (const auto slash = word.find('/'); slash != std::string::npos)
        {
            flush();
            const auto second = word.find('/', slash + 1);
            open.emplace_back(std::stoul(word, nullptr, 0),
                              std::stoul(word.substr(slash + 1), nullptr, 0),
                              std::stoul(word.substr(second + 1), nullptr, 0));
        }
        else if (word == "sample" || word == "zeros" || word == "raw")
        {
            flush();
            out.raw(word == "sample"  ? tablegen::sampleTable().build()
                    : word == "zeros" ? Bytes(std::stoul(a.text(++i)))
                                      : hexBytes(a.text(++i)));
        }
        else
            set(open.back(), word, a, i);
    }
    flush();
    return out;
}

} // namespace qvmtest
