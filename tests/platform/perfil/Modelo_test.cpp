// The write model: writes made on one model, one after another, leave the bytes the same writes leave
// made one call at a time (each on a fresh parse of the file the one before left), and every read in
// between answers alike. The recorded cases do this too (platform/perfil/Regras_test.cpp); here, the
// writes that change more than their own line. Random files and writes: fuzz/fuzz_Lote.cpp.
#include "CasosIni.h"


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

} // namespace
