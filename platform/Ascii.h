#pragma once
// ASCII case, character classes and trimming. Windows matches section, key, class and file names
// without regard to the case of ASCII letters only, and company codes are ASCII letters and digits.
#include <string>
#include <string_view>

inline char MinusculaAscii(char C) noexcept
{
    return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C;
}

inline char MaiusculaAscii(char C) noexcept
{
    return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C;
}

inline std::string MinusculasAscii(std::string Texto)
{
    for (char& C : Texto)
        C = MinusculaAscii(C);
    return Texto;
}

inline std::string MaiusculasAscii(std::string Texto)
{
    for (char& C : Texto)
        C = MaiusculaAscii(C);
    return Texto;
}

inline bool IguaisSemCaixa(std::string_view A, std::string_view B) noexcept
{
    if (A.size() != B.size())
        return false;
    for (std::size_t I = 0; I < A.size(); ++I)
        if (MinusculaAscii(A[I]) != MinusculaAscii(B[I]))
            return false;
    return true;
}

inline bool LetraOuDigitoAscii(char C) noexcept
{
    return (C >= '0' && C <= '9') || (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z');
}

/// Space or tab: the blanks around a name or value of a Windows profile line.
inline bool BrancoAscii(char C) noexcept
{
    return C == ' ' || C == '\t';
}

/// A blank or control character (code 32 or below): what the host's Trim drops.
inline bool BrancoOuControle(char C) noexcept
{
    return static_cast<unsigned char>(C) <= ' ';
}

/// Texto without the leading characters EhBranco accepts.
template <class TEhBranco>
std::string_view AparaInicioSe(std::string_view Texto, TEhBranco EhBranco) noexcept
{
    while (!Texto.empty() && EhBranco(Texto.front()))
        Texto.remove_prefix(1);
    return Texto;
}

/// Texto without the characters EhBranco accepts at both ends.
template <class TEhBranco>
std::string_view AparaSe(std::string_view Texto, TEhBranco EhBranco) noexcept
{
    Texto = AparaInicioSe(Texto, EhBranco);
    while (!Texto.empty() && EhBranco(Texto.back()))
        Texto.remove_suffix(1);
    return Texto;
}

/// Texto without spaces and tabs at both ends.
inline std::string_view AparaBrancos(std::string_view Texto) noexcept
{
    return AparaSe(Texto, BrancoAscii);
}

/// Texto without blanks and control characters at both ends (the host's Trim).
inline std::string Apara(std::string_view Texto)
{
    return std::string(AparaSe(Texto, [](char C) { return BrancoOuControle(C); }));
}
