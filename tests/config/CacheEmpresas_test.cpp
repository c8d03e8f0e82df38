// The cached company list answers what a fresh read answers, whatever happens to the config folder
// between two reads.
#include "config/CacheEmpresas.h"
#include "config/Lib.h"
#include "RaizTeste.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(LerEmpresasCache, SempreOQueUmaLeituraNovaDaria)
{
    TRaizTeste R;
    const fs::path Config = R.Raiz / "config";
    R.CriaEmpresa("00000123");
    R.CriaEmpresa("00000456");
    struct {
        const char* Caso;
        std::function<void()> Muda;
    } Passos[] = {
        {"first read", [] {}},
        {"nothing changed", [] {}},
        {"company added", [&] { R.CriaEmpresa("0000abcd"); }},
        {"company removed", [&] { fs::remove(Config / "00000123.cnf"); }},
        {"renamed", [&] { fs::rename(Config / "00000456.cnf", Config / "00000789.cnf"); }},
        {"rewritten in place without the magic bytes", [&] { R.CriaEmpresa("00000789", "xx"); }},
        {"unreadable company file stops the scan",
         [&] { fs::permissions(Config / "0000abcd.cnf", fs::perms::none); }},
        {"readable again", [&] { fs::permissions(Config / "0000abcd.cnf", fs::perms::owner_read); }},
        {"folder replaced",
         [&] {
             fs::rename(Config, R.Raiz / "config.old");
             R.CriaEmpresa("11111111");
         }},
        {"folder gone", [&] { fs::remove_all(Config); }},
        {"folder back", [&] { R.CriaEmpresa("22222222"); }},
    };
    for (auto& Passo : Passos) {
        Passo.Muda();
        std::vector<std::string> Fresca, DoCache{"lixo"};
        const std::int32_t Esperado = LerEmpresas(R.RaizTexto(), Fresca);
        EXPECT_EQ(LerEmpresasCache(R.RaizTexto(), DoCache), Esperado) << Passo.Caso;
        EXPECT_EQ(DoCache, Fresca) << Passo.Caso;
    }
}

// Two roots in turn: each answer is its own root's.
TEST(LerEmpresasCache, TrocaDeRaiz)
{
    TRaizTeste A, B;
    A.CriaEmpresa("00000001");
    B.CriaEmpresa("00000002");
    for (const TRaizTeste* R : {&A, &B, &A}) {
        std::vector<std::string> Lista;
        EXPECT_EQ(LerEmpresasCache(R->RaizTexto(), Lista), 1);
        EXPECT_EQ(Lista, std::vector<std::string>{R == &A ? "00000001" : "00000002"});
    }
}
