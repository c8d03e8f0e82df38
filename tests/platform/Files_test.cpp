#include "platform/Files.h"

#include "RaizTeste.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <functional>
#include <map>

namespace fs = std::filesystem;

namespace {

/// How often each folder (its path without a trailing slash) was listed since the count was last cleared.
std::map<std::string, int>& Listagens()
{
    static std::map<std::string, int> Contagem;
    return Contagem;
}

} // namespace

// This program's opendir stands before the system's (it is exported for the runtime library to find):
// it counts, then lists.
extern "C" __attribute__((visibility("default"))) DIR* opendir(const char* Nome)
{
    static const auto Sistema = reinterpret_cast<DIR* (*)(const char*)>(dlsym(RTLD_NEXT, "opendir"));
    std::string Pasta = Nome;
    while (Pasta.size() > 1 && Pasta.back() == '/')
        Pasta.pop_back();
    ++Listagens()[Pasta];
    return Sistema(Nome);
}

namespace {

// A root holding config/empresas/00000123/Mirabelo.ini; module paths below it use backslashes.
class ArquivosTeste : public testing::Test {
protected:
    void SetUp() override { TRaizTeste::Grava(Raiz / "config" / "empresas" / "00000123" / "Mirabelo.ini", "[Geral]\r\n"); }
    std::string Modulo(const std::string& Relativo) const { return Raiz.string() + "\\" + Relativo; }

    TRaizTeste Pasta;
    fs::path Raiz = Pasta.Raiz;
};

// Each existing component is found without regard to case; the missing one and everything below it
// keep the spelling given. What a resolution learnt of a folder (a listing, a folder found missing)
// never outlives a change of that folder: a step that changes the tree lets the folders settle first.
TEST_F(ArquivosTeste, CaminhoLocalSemCaixaAcompanhaMudancas)
{
    const fs::path Config = Raiz / "config";
    const struct {
        std::function<void()> Muda;
        const char* Modulo;
        fs::path Local;
    } Passos[] = {
        {{}, "Config\\EMPRESAS\\00000123\\mirabelo.INI", "config/empresas/00000123/Mirabelo.ini"},
        {{}, "CONFIG\\", "config/"},
        {{}, "CONFIG\\Falta\\EMPRESAS\\x.INI", "config/Falta/EMPRESAS/x.INI"},
        {{}, "CONFIG\\Novos\\00000001\\M.ini", "config/Novos/00000001/M.ini"},
        {[&] { fs::create_directories(Config / "NOVOS"); }, "CONFIG\\Novos\\00000001\\M.ini", "config/NOVOS/00000001/M.ini"},
        {[&] { fs::rename(Config / "NOVOS", Config / "nOvOs"); }, "config\\novos\\x", "config/nOvOs/x"},
        {[&] { fs::remove(Config / "nOvOs"); }, "config\\NOVOS\\x", "config/NOVOS/x"},
        {[&] { fs::create_directories(Config / "empresas" / "00000456"); }, "Config\\Empresas\\00000456\\m.ini",
         "config/empresas/00000456/m.ini"},
        // Once CONFIG exists beside config, the exact spelling wins.
        {[&] { fs::create_directories(Raiz / "CONFIG"); }, "CONFIG\\x", "CONFIG/x"},
        {{}, "config\\empresas", "config/empresas"},
    };
    for (const auto& P : Passos) {
        SCOPED_TRACE(P.Modulo);
        if (P.Muda) {
            P.Muda();
            usleep(120'000);  // older than the clock's coarse step
        }
        EXPECT_EQ(CaminhoLocal(Modulo(P.Modulo)), (Raiz / P.Local).string());
        EXPECT_EQ(CaminhoLocal(Modulo(P.Modulo)), (Raiz / P.Local).string()) << "asked again";
    }
    // A change right after a resolution (within the clock's coarse step) is seen too.
    EXPECT_EQ(CaminhoLocal(Modulo("config\\Rapido\\x")), (Raiz / "config/Rapido/x").string());
    fs::create_directories(Config / "RAPIDO");
    EXPECT_EQ(CaminhoLocal(Modulo("config\\Rapido\\x")), (Raiz / "config/RAPIDO/x").string());
}

// New companies whose code holds a letter, made one after another beside many others: their folder is
// listed once, not again after each folder this process makes in it; a folder another process makes
// (or any change the listing did not make itself) is still seen.
TEST_F(ArquivosTeste, PastasCriadasEntramNaListagem)
{
    const fs::path Empresas = Raiz / "config" / "empresas";
    for (int I = 0; I < 300; ++I)
        fs::create_directory(Empresas / ("b" + std::to_string(1000000 + I)));
    const timespec Antigo[2] = {{0, UTIME_OMIT}, {time(nullptr) - 60, 0}};  // settled a minute ago
    ASSERT_EQ(utimensat(AT_FDCWD, Empresas.c_str(), Antigo, 0), 0);
    Listagens().clear();
    for (int I = 0; I < 50; ++I) {
        const std::string Codigo = std::to_string(1000000 + I);
        ASSERT_TRUE(ForceDirectories(Modulo("config\\EMPRESAS\\A" + Codigo)));
        EXPECT_EQ(CaminhoLocal(Modulo("config\\empresas\\B" + Codigo + "\\x.ini")), (Empresas / ("b" + Codigo) / "x.ini").string());
        EXPECT_EQ(CaminhoLocal(Modulo("config\\empresas\\a" + Codigo)), (Empresas / ("A" + Codigo)).string());
    }
    EXPECT_EQ(Listagens()[Empresas.string()], 1);
    fs::create_directory(Empresas / "c0000001");
    EXPECT_EQ(CaminhoLocal(Modulo("config\\empresas\\C0000001")), (Empresas / "c0000001").string());
}

// Names matching the mask without regard to case, sorted, a folder marked "/", "." and ".." left out; a
// folder that cannot be listed empties the list and fails. Read-only is every write bit gone (reading
// stays); normal gives the owner's back.
TEST_F(ArquivosTeste, ListaDiretorioEAtributosSemCaixa)
{
    for (const char* Nome : {"a.CNF", "b.cnf", "c.txt", ".cnf", "e.cnfx", "f.cn"})
        TRaizTeste::Grava(Raiz / "config" / Nome, "x");
    fs::create_directories(Raiz / "config" / "D.cnf");
    const auto Lista = [&](const char* Pasta, const char* Mascara) {
        std::vector<TEntradaDiretorio> E{{"lixo", false}};
        std::string S = ListaDiretorio(Modulo(Pasta), Mascara, E) ? "" : "(failed)";
        std::sort(E.begin(), E.end(), [](const auto& A, const auto& B) { return A.Nome < B.Nome; });
        for (const TEntradaDiretorio& X : E)
            S += " " + X.Nome + (X.Diretorio ? "/" : "");
        return S;
    };
    EXPECT_EQ(Lista("CONFIG", "*.cnf"), " .cnf D.cnf/ a.CNF b.cnf");
    EXPECT_EQ(Lista("config", "*"), " .cnf D.cnf/ a.CNF b.cnf c.txt e.cnfx empresas/ f.cn");
    EXPECT_EQ(Lista("Falta", "*"), "(failed)");

    const std::string Txt = Modulo("CONFIG\\C.TXT");
    fs::permissions(Raiz / "config" / "c.txt", fs::perms(0664));
    ASSERT_TRUE(SetFileAttributesA(Txt, FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(fs::status(Raiz / "config" / "c.txt").permissions(), fs::perms(0444));
    EXPECT_NE(GetFileAttributesA(Txt) & FILE_ATTRIBUTE_READONLY, 0u);
    ASSERT_TRUE(SetFileAttributesA(Txt, FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesA(Txt), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(SetFileAttributesA(Modulo("config\\falta.ini"), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributesA(Modulo("config\\falta.ini")), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA(Modulo("CONFIG")) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

} // namespace
