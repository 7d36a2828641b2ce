#include "export_count.hpp"

#include <cstdint>
#include <cstring>

namespace qvmcli
{
namespace
{

// Deeper than any export; a bound keeps the recursion bounded.
constexpr int kMaxDepth = 64;

// A strict JSON reader (RFC 8259) that keeps only what the count needs.
class Reader
{
  public:
    explicit Reader(std::string_view text)
        : at_(text.data()), end_(text.data() + text.size())
    {
    }

    std::optional<ExportCount> exportCount()
    {
        ExportCount count;
        skipBlanks();
        if (!take('['))
            return std::nullopt;
        const bool read = elements(']', [&] { return group(count); });
        skipBlanks();
        return read && at_ == end_ ? std::optional(count) : std::nullopt;
    }

  private:
    // An element of the outer array; only an array holds objects.
    bool group(ExportCount& count)
    {
        if (!peek('['))
            return value(1);
        ++at_;
        std::size_t objects = 0;
        std::optional<long long> type;
        const bool read = elements(']',
                                   [&]
                                   {
                                       ++objects;
                                       return objects == 1 && peek('{')
                                                  ? object(2, &type)
                                                  : value(2);
                                   });
        if (type)
            count.byType[static_cast<std::uint8_t>(*type)] += objects;
        count.total += objects;
        return read;
    }

    // Elements or members up to close, each read by one, comma-separated.
    template <typename Read> bool elements(char close, Read one)
    {
        skipBlanks();
        if (take(close))
            return true;
        do
        {
            skipBlanks();
            if (!one())
                return false;
            skipBlanks();
        } while (take(','));
        return take(close);
    }

    bool value(int depth, std::optional<long long>* tableType = nullptr)
    {
        if (depth > kMaxDepth || at_ == end_)
            return false;
        switch (*at_)
        {
            case '{':
                return object(depth, tableType);
            case '[':
                ++at_;
                return elements(']', [&] { return value(depth + 1); });
            case '"':
                return string(nullptr);
            case 't':
                return word("true");
            case 'f':
                return word("false");
            case 'n':
                return word("null");
            default:
                return number();
        }
    }

    // tableType, when given, receives the integer "Table Type" member.
    bool object(int depth, std::optional<long long>* tableType)
    {
        ++at_;
        return elements('}',
                        [&]
                        {
                            std::string_view key;
                            if (!string(&key))
                                return false;
                            skipBlanks();
                            if (!take(':'))
                                return false;
                            skipBlanks();
                            if (tableType && key == "Table Type" &&
                                integer(*tableType))
                                return true;
                            return value(depth + 1);
                        });
    }

    bool string(std::string_view* out)
    {
        if (!take('"'))
            return false;
        const char* start = at_;
        while (at_ != end_ && *at_ != '"')
        {
            const auto c = static_cast<unsigned char>(*at_++);
            if (c < 0x20)
                return false;
            if (c == '\\' && !escape())
                return false;
        }
        if (out)
            *out = {start, static_cast<std::size_t>(at_ - start)};
        return take('"');
    }

    bool escape()
    {
        if (at_ == end_)
            return false;
        switch (*at_++)
        {
            case 'u':
                for (int i = 0; i < 4; ++i)
                    if (at_ == end_ || !isHex(*at_++))
                        return false;
                return true;
            case '"':
            case '\\':
            case '/':
            case 'b':
            case 'f':
            case 'n':
            case 'r':
            case 't':
                return true;
            default:
                return false;
        }
    }

    bool number()
    {
        take('-');
        if (!take('0') && !digits())
            return false;
        if (take('.') && !digits())
            return false;
        if (take('e') || take('E'))
        {
            if (!take('+'))
                take('-');
            return digits();
        }
        return true;
    }

    // A number that is a plain integer of up to 18 digits, into n; else
    // nothing is read.
    bool integer(std::optional<long long>& n)
    {
        const char* start = at_;
        const bool negative = take('-');
        long long value = 0;
        while (at_ != end_ && *at_ >= '0' && *at_ <= '9' && at_ - start < 19)
            value = value * 10 + (*at_++ - '0');
        const char* first = start + (negative ? 1 : 0);
        const bool plain =
            at_ != first && (*first != '0' || at_ == first + 1) &&
            (at_ == end_ || *at_ == ',' || *at_ == '}' || isBlank(*at_));
        if (!plain)
        {
            at_ = start;
            return false;
        }
        n = negative ? -value : value;
        return true;
    }

    bool digits()
    {
        const char* start = at_;
        while (at_ != end_ && *at_ >= '0' && *at_ <= '9')
            ++at_;
        return at_ != start;
    }

    bool word(const char* w)
    {
        const std::size_t n = std::strlen(w);
        if (static_cast<std::size_t>(end_ - at_) < n ||
            std::memcmp(at_, w, n) != 0)
            return false;
        at_ += n;
        return true;
    }

    static bool isBlank(char c)
    {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r';
    }
    static bool isHex(char c)
    {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') ||
               (c >= 'A' && c <= 'F');
    }
    void skipBlanks()
    {
        while (at_ != end_ && isBlank(*at_))
            ++at_;
    }
    bool peek(char c) const { return at_ != end_ && *at_ == c; }
    bool take(char c)
    {
        if (!peek(c))
            return false;
        ++at_;
        return true;
    }

    const char* at_;
    const char* end_;
};

} // namespace

std::optional<ExportCount> countExport(std::string_view text)
{
    return Reader(text).exportCount();
}

} // namespace qvmcli
