#include "platform/Cp1252.h"

#include "platform/Ascii.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <utility>

namespace {

// Every byte against the C library's own converter; the five bytes it does not define keep their C1
// code point, as on Windows (the round trips are the fuzz target's). A character outside the code page
// and malformed UTF-8 each become "?", never a character of their own: a lead byte without its
// continuation, a lone continuation, a cut at the end, surrogates, code points past U+10FFFF, and
// overlong forms (an overlong "/" or "." must never come out as that).
TEST(Cp1252, CadaByteEUtf8Malformado)
{
    const iconv_t Conversor = iconv_open("UTF-32LE", "CP1252");
    ASSERT_NE(Conversor, reinterpret_cast<iconv_t>(-1));
    for (int B = 1; B < 256; ++B) {
        char Byte = static_cast<char>(B), *Entrada = &Byte, Saida[4], *Fim = Saida;
        std::size_t Resta = 1, Livre = sizeof Saida;
        char32_t Ponto = static_cast<char32_t>(B);
        if (iconv(Conversor, &Entrada, &Resta, &Fim, &Livre) == 0)
            Ponto = static_cast<unsigned char>(Saida[0]) | static_cast<unsigned char>(Saida[1]) << 8 |
                    static_cast<unsigned char>(Saida[2]) << 16;
        EXPECT_EQ(Cp1252ParaUnicode(static_cast<unsigned char>(B)), Ponto) << B;
    }
    iconv_close(Conversor);
    const std::pair<const char*, const char*> Utf8[] = {
        {"\x80", "\xE2\x82\xAC"}, {"\x81", "\xC2\x81"}, {"Transa\xE7\xF5""es", "Transa\xC3\xA7\xC3\xB5""es"}};
    for (const auto& [Texto, EmUtf8] : Utf8) {
        EXPECT_EQ(Cp1252ParaUtf8(Texto), EmUtf8);
        EXPECT_EQ(Utf8ParaCp1252(EmUtf8), Texto);
    }
    for (const char32_t Ponto : {U'\u4E2D', U'\u0100', U'\U0001F600'})
        EXPECT_EQ(Cp1252DeUnicode(Ponto), '?');
    const std::pair<const char*, const char*> Casos[] = {
        {"a\xE4\xB8\xAD" "b", "a?b"}, {"\xF0\x9F\x98\x80", "?"}, {"a\xE7" "b", "a?b"}, {"ab\xC3", "ab?"},
        {"\x80", "?"}, {"\xFF\xFE", "??"}, {"\xE2\x82", "??"}};
    for (const auto& [Entrada, Saida] : Casos)
        EXPECT_EQ(Utf8ParaCp1252(Entrada), Saida) << testing::PrintToString(std::string(Entrada));
    for (const char* Ruim : {"\xED\xA0\x80", "\xED\xBF\xBF", "\xF4\x90\x80\x80",
                             "\xF8\x88\x80\x80\x80", "\xC0\xAF", "\xC1\xBF", "\xE0\x80\xAF", "\xF0\x80\x80\xAF", "\xC0\xAE"}) {
        const std::string Saida = Utf8ParaCp1252(Ruim);
        EXPECT_TRUE(!Saida.empty() && Saida.find_first_not_of('?') == std::string::npos)
            << testing::PrintToString(std::string(Ruim)) << " -> " << testing::PrintToString(Saida);
    }
}

} // namespace

// Names match without regard to the case of ASCII letters only, a word at a time once 8 bytes long: every
// pair of bytes, at the start, inside and at the end of the last word, as the byte-by-byte rule says.
TEST(Ascii, NomesSemCaixaByteAByte)
{
    for (int A = 0; A < 256; ++A)
        for (int B = 0; B < 256; ++B) {
            const bool Esperado = MinusculaAscii(static_cast<char>(A)) == MinusculaAscii(static_cast<char>(B));
            for (const std::size_t Tamanho : {std::size_t{3}, std::size_t{8}, std::size_t{13}})
                for (const std::size_t Onde : {std::size_t{0}, Tamanho / 2, Tamanho - 1}) {
                    std::string X(Tamanho, 'q'), Y(Tamanho, 'Q');
                    X[Onde] = static_cast<char>(A);
                    Y[Onde] = static_cast<char>(B);
                    ASSERT_EQ(IguaisSemCaixa(X, Y), Esperado) << A << " " << B << " at " << Onde << " of " << Tamanho;
                }
        }
    EXPECT_FALSE(IguaisSemCaixa("Secao_Longa_9", "Secao_Longa_"));
}
