#pragma once
// ASCII case, character classes and trimming. Windows matches section, key, class and file names
// without regard to the case of ASCII letters only, and company codes are ASCII letters and digits.
#include <cstdint>
#include <cstring>
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

// Eight bytes at a time: long texts (an audit entry of a large table) are scanned a word per step
// for the few bytes that need work, and names are compared and hashed a word per step.

/// The eight bytes at P as one word, whatever P's alignment.
inline std::uint64_t Palavra8(const char* P) noexcept
{
    std::uint64_t W;
    std::memcpy(&W, P, sizeof W);
    return W;
}

/// Not zero when a byte of W is below N (N at most 128).
inline std::uint64_t TemByteMenorQue(std::uint64_t W, unsigned char N) noexcept
{
    return (W - 0x0101010101010101ull * N) & ~W & 0x8080808080808080ull;
}

/// Not zero when a byte of W is C.
inline std::uint64_t TemByte(std::uint64_t W, unsigned char C) noexcept
{
    return TemByteMenorQue(W ^ (0x0101010101010101ull * C), 1);
}

/// Not zero when a byte of W is 0x80 or above.
inline std::uint64_t TemByteAlto(std::uint64_t W) noexcept
{
    return W & 0x8080808080808080ull;
}

/// W with the ASCII capitals among its bytes made small letters.
inline std::uint64_t MinusculasAscii8(std::uint64_t W) noexcept
{
    constexpr std::uint64_t Altos = 0x8080808080808080ull, Baixos = 0x7F7F7F7F7F7F7F7Full;
    const std::uint64_t B = W & Baixos;  // each byte below 0x80: the sums below never carry
    const std::uint64_t DesdeA = B + 0x3F3F3F3F3F3F3F3Full;  // high bit: the byte is 'A' or above
    const std::uint64_t AposZ = B + 0x2525252525252525ull;   // high bit: the byte is above 'Z'
    return W | (((DesdeA & ~AposZ & ~W) & Altos) >> 2);
}

inline bool IguaisSemCaixa(std::string_view A, std::string_view B) noexcept
{
    const std::size_t N = A.size();
    if (N != B.size())
        return false;
    if (N < 8) {
        for (std::size_t I = 0; I < N; ++I)
            if (A[I] != B[I] && MinusculaAscii(A[I]) != MinusculaAscii(B[I]))
                return false;
        return true;
    }
    // Whole words, the last one ending at the last byte (overlapping the one before).
    for (std::size_t I = 0;; I += 8) {
        if (I + 8 > N)
            I = N - 8;
        const std::uint64_t X = Palavra8(A.data() + I), Y = Palavra8(B.data() + I);
        if (X != Y && MinusculasAscii8(X) != MinusculasAscii8(Y))
            return false;
        if (I + 8 == N)
            return true;
    }
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

/// AparaBrancos of a text with a blank at one end at least.
[[gnu::noinline]] inline std::string_view AparaBrancosNasPontas(std::string_view Texto) noexcept
{
    // A lambda, not the function's address, so the test is inlined into the loops.
    return AparaSe(Texto, [](char C) { return BrancoAscii(C); });
}

/// Texto without spaces and tabs at both ends.
[[gnu::always_inline]] inline std::string_view AparaBrancos(std::string_view Texto) noexcept
{
    // Names and values seldom have blanks around them: that case costs two tests, made in place.
    if (Texto.empty() || (!BrancoAscii(Texto.front()) && !BrancoAscii(Texto.back())))
        return Texto;
    return AparaBrancosNasPontas(Texto);
}

/// Texto without blanks and control characters at both ends (the host's Trim).
inline std::string Apara(std::string_view Texto)
{
    return std::string(AparaSe(Texto, [](char C) { return BrancoOuControle(C); }));
}
