#pragma once
// Why a reading stopped, joined from words and numbers into one string at once: readers of
// foreign bytes stop early on most of the places they are tried at, and QString::arg would
// make a string for every number and every step.

#include <QString>

#include <charconv>
#include <type_traits>

namespace vocafetch {

// A byte written as two lower-case hexadecimal digits.
struct HexByte
{
    quint8 value;
};

class ProblemText
{
public:
    template <typename... Pieces> static QString of(const Pieces &...pieces)
    {
        ProblemText text;
        (text.add(pieces), ...);
        return QString::fromLatin1(text.m_chars, text.m_size);
    }

private:
    // Room for the longest text with four numbers of twenty digits.
    static constexpr int Capacity = 256;

    void add(const char *piece)
    {
        while (*piece != '\0' && m_size < Capacity)
            m_chars[m_size++] = *piece++;
    }

    void add(HexByte byte)
    {
        static constexpr char Digits[] = "0123456789abcdef";
        const char hex[] = {Digits[byte.value >> 4], Digits[byte.value & 0x0F], '\0'};
        add(hex);
    }

    template <typename Number, typename = std::enable_if_t<std::is_integral_v<Number>>>
    void add(Number number)
    {
        char digits[24];
        const auto written = std::to_chars(digits, digits + sizeof digits - 1, number);
        *written.ptr = '\0';
        add(digits);
    }

    char m_chars[Capacity];
    int m_size = 0;
};

} // namespace vocafetch
