// The write model: writes made on one model, one after another, leave the bytes the same writes leave
// made one call at a time (each on a fresh parse of the file the one before left), and every read in
// between answers alike. The recorded cases do this too (platform/perfil/Regras_test.cpp); here, the
// writes that change more than their own line, then random ones.
#include "CasosIni.h"

#include <random>

using namespace casos_ini;

namespace {

// Writes that join lines (an empty LF line after a lone CR: one CR LF ending once the line between
// goes), a key that reads as a header (a new section starts there), and "[]" headers before the first
// named one (dropped by a value for the lines before the first header), in small and large sections.
TEST(Modelo, EscritasQueMudamMaisQueSuaLinha)
{
    std::string Grande = "[G]\r\n";
    for (int I = 0; I < 40; ++I)
        Grande += "k" + std::to_string(I) + "=" + std::to_string(I) + (I % 7 == 0 ? "\r" : "\r\n") + (I % 7 == 0 ? "\n" : "");
    const struct {
        const char* Nome;
        std::string Inicial;
        std::vector<TEscrita> Escritas;
    } Casos[] = {
        {"lone CR, key between removed", "[A]\rk=1\n\n[B]\r\n", {{"A", "k", std::nullopt}, {"A", "j", "2"}}},
        {"lone CR, new key before an LF line", "[A]\rk=1\r\n\n", {{"A", "j", "2"}, {"A", "j", std::nullopt}, {"A", "m", "3"}}},
        {"lone CR file, new key", "[A]\rk=1\r\n\n[B]\rx=1\r", {{"A", "n", "1"}, {"B", "x", std::nullopt}, {"B", "y", "2"}}},
        {"key that reads as a header", "[A]\r\nk=1\r\nj=2\r\n", {{"A", "[x", "y]"}, {"A", "j", "3"}, {"x=y", "j", "4"}}},
        {"value that makes a header", "[A]\r\n[k=1\r\nj=2\r\n", {{"A", "[k", "v]"}, {"A", "j", "5"}, {"k=v", "z", "1"}}},
        {"new section whose key reads as a header", "", {{"S", "[a", "b]"}, {"S", "c", "1"}, {"a=b", "c", "2"}}},
        {"[] headers joined", "x=1\r[]\n\n[]\r\ny=2\r\n[A]\r\n[]\r\nz=3\r\n",
         {{"", "w", "1"}, {"", "y", "3"}, {"A", "q", "1"}, {"", "[]", "v"}}},
        {"[] headers joined, then a header-like key", "[]\r\n\r\n[]\r\nk=1\r\n[A]\r\n", {{"", "[x", "]"}, {"", "k", "2"}}},
        {"large section", Grande, {{"G", "k3", std::nullopt}, {"G", "k8", "x"}, {"G", "novo", "1"}, {"G", "k7", std::nullopt},
                                   {"G", "k0", std::nullopt}, {"g", "K39", "y"}, {"G", std::nullopt, std::nullopt}, {"G", "a", "b"}}},
        {"no final line ending", "[A]\r\nk=1", {{"A", "k", "2"}, {"A", "j", "1"}, {"B", "x", "1"}}},
    };
    TRaizTeste Pasta;
    for (const auto& Caso : Casos) {
        SCOPED_TRACE(Caso.Nome);
        // One batch for all, and a new batch after each write.
        ComparaComUmaAUma(Pasta.Pasta, Caso.Inicial, Caso.Escritas);
        std::vector<std::size_t> Cortes;
        for (std::size_t I = 1; I < Caso.Escritas.size(); ++I)
            Cortes.push_back(I);
        ComparaComUmaAUma(Pasta.Pasta, Caso.Inicial, Caso.Escritas, Cortes);
    }
}

// Random files (mixed line endings, blanks, comments, duplicates, "[]" headers, BOMs, UTF-16, sections
// of 30 lines and more) and random writes whose names collide in every way the lookups allow.
TEST(ModeloAleatorio, IgualAUmaAUma)
{
    std::mt19937 Sorte(1206);
    const auto Um = [&](const auto& Lista) { return Lista[Sorte() % std::size(Lista)]; };
    const char* Linhas[] = {"[A]", "[ a ]", "[B]", "[]", "[b]x", "k=1", " K = 2 ", "j", ";c=3", "=v", "k2=\"q\"",
                            "", "  ", "# x", "n=\xE9", "[C", "k=1\t", "[A]", "[Secao_Longa_9]", "ChaveComprida=1", "\xC3\xB1=1"};
    const char* Quebras[] = {"\r\n", "\r\n", "\n", "\n", "\r"};
    const char* SecoesEscritas[] = {"A", "a", " A ", "B", "b", "C", "", "Nova", "[x", "x]", "SECAO_longa_9"};
    const char* Chaves[] = {"k", "K", " k", "j", "nova", "[x]", "", ";c", "k2", "n", "[y", "chaveCOMPRIDA", "\xF1"};
    const char* Valores[] = {"1", "2", " 3", "4 ", "\"q\"", "", "\xE9", "v=w", "x]"};
    TRaizTeste Pasta;
    for (int Rodada = 0; Rodada < 150; ++Rodada) {
        SCOPED_TRACE("round " + std::to_string(Rodada));
        TTalvez Inicial;
        if (Sorte() % 8 != 0) {
            std::string T = Sorte() % 6 == 0 ? "\xEF\xBB\xBF" : "";
            const char* Quebra = Sorte() % 4 == 0 ? Um(Quebras) : "\r\n";
            for (unsigned N = Sorte() % 4 == 0 ? 30 + Sorte() % 40 : Sorte() % 15; N > 0; --N)
                T += std::string(Um(Linhas)) + (Sorte() % 5 == 0 ? Um(Quebras) : Quebra);
            if (Sorte() % 3 == 0)
                T += Um(Linhas);
            if (Sorte() % 10 == 0)  // UTF-16LE of the same lines
                T = Utf16(T.rfind("\xEF\xBB\xBF", 0) == 0 ? T.substr(3) : T);
            Inicial = T;
        }
        std::vector<TEscrita> Escritas;
        std::vector<std::size_t> Cortes;
        for (unsigned N = 1 + Sorte() % 24; N > 0; --N) {
            const unsigned Tipo = Sorte() % 8;
            // Often the section of the write before, as a table's keys are written.
            const TTalvez Secao = !Escritas.empty() && Sorte() % 3 == 0 ? Escritas.back().Secao : Um(SecoesEscritas);
            Escritas.push_back({Secao, Tipo == 0 ? std::nullopt : TTalvez(Um(Chaves)), Tipo <= 1 ? std::nullopt : TTalvez(Um(Valores))});
            if (N > 1 && Sorte() % 4 == 0)  // the next writes in a new batch, on the file this one left
                Cortes.push_back(Escritas.size());
        }
        ComparaComUmaAUma(Pasta.Pasta, Inicial, Escritas, Cortes);
        if (testing::Test::HasFailure())
            break;
    }
}

} // namespace
