#include "platform/Cp1252.h"

#include <array>

namespace {

// 0x80-0x9F; the rest of the code page is Latin-1.
constexpr std::array<char32_t, 32> Faixa80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

void AnexaUtf8(std::string& Saida, char32_t C)
{
    if (C < 0x80) {
        Saida += static_cast<char>(C);
    } else if (C < 0x800) {
        Saida += static_cast<char>(0xC0 | (C >> 6));
        Saida += static_cast<char>(0x80 | (C & 0x3F));
    } else if (C < 0x10000) {
        Saida += static_cast<char>(0xE0 | (C >> 12));
        Saida += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
        Saida += static_cast<char>(0x80 | (C & 0x3F));
    } else {
        Saida += static_cast<char>(0xF0 | (C >> 18));
        Saida += static_cast<char>(0x80 | ((C >> 12) & 0x3F));
        Saida += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
        Saida += static_cast<char>(0x80 | (C & 0x3F));
    }
}

char32_t Cp1252ParaUnicode(unsigned char Byte) noexcept
{
    return Byte >= 0x80 && Byte <= 0x9F ? Faixa80[Byte - 0x80] : Byte;
}

char Cp1252DeUnicode(char32_t Codigo) noexcept
{
    if (Codigo < 0x80 || (Codigo >= 0xA0 && Codigo <= 0xFF))
        return static_cast<char>(Codigo);
    for (std::size_t I = 0; I < Faixa80.size(); ++I)
        if (Faixa80[I] == Codigo)
            return static_cast<char>(0x80 + I);
    return '?';
}

std::string Cp1252ParaUtf8(std::string_view Texto)
{
    std::string Saida;
    Saida.reserve(Texto.size());
    for (const char C : Texto)
        AnexaUtf8(Saida, Cp1252ParaUnicode(static_cast<unsigned char>(C)));
    return Saida;
}

std::string Utf8ParaCp1252(std::string_view Texto)
{
    std::string Saida;
    Saida.reserve(Texto.size());
    std::size_t I = 0;
    while (I < Texto.size()) {
        const auto B = static_cast<unsigned char>(Texto[I]);
        int Extras = B < 0x80 ? 0 : (B & 0xE0) == 0xC0 ? 1 : (B & 0xF0) == 0xE0 ? 2 : (B & 0xF8) == 0xF0 ? 3 : -1;
        if (Extras < 0 || I + static_cast<std::size_t>(Extras) >= Texto.size() + (Extras == 0)) {
            Saida += '?';
            ++I;
            continue;
        }
        char32_t C = Extras == 0 ? B : B & (0x3F >> Extras);
        bool Valido = true;
        for (int K = 1; K <= Extras; ++K) {
            const auto Seg = static_cast<unsigned char>(Texto[I + K]);
            if ((Seg & 0xC0) != 0x80) {
                Valido = false;
                break;
            }
            C = (C << 6) | (Seg & 0x3F);
        }
        // An overlong form ("\xC0\xAF" for "/") is malformed, not another spelling of the character.
        constexpr char32_t Minimo[] = {0, 0x80, 0x800, 0x10000};
        if (C < Minimo[Extras] || C > 0x10FFFF)
            Valido = false;
        if (!Valido) {
            Saida += '?';
            ++I;
            continue;
        }
        Saida += Cp1252DeUnicode(C);
        I += Extras + 1;
    }
    return Saida;
}
