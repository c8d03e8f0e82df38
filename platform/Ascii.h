#pragma once
// ASCII case and character classes. Windows matches section, key, class and file names without regard
// to the case of ASCII letters only, and company codes are ASCII letters and digits.
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
