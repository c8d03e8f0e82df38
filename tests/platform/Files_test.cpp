#include "platform/Files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class ArquivosTeste : public testing::Test {
protected:
    void SetUp() override
    {
        std::string Modelo = (fs::temp_directory_path() / "kovan-files-XXXXXX").string();
        ASSERT_NE(mkdtemp(Modelo.data()), nullptr);
        Raiz = Modelo;
        fs::create_directories(Raiz / "config" / "empresas" / "00000123");
        std::ofstream(Raiz / "config" / "empresas" / "00000123" / "Mirabelo.ini") << "[Geral]\r\n";
    }
    void TearDown() override
    {
        std::error_code Erro;
        fs::permissions(Raiz, fs::perms::owner_all, fs::perm_options::add, Erro);
        fs::remove_all(Raiz, Erro);
    }
    /// The module path of a path below the root: backslashes, as the Parts build them.
    std::string Modulo(const std::string& Relativo) const
    {
        std::string P = Raiz.string() + "\\" + Relativo;
        std::replace(P.begin(), P.end(), '/', '\\');
        return P;
    }

    fs::path Raiz;
};

TEST_F(ArquivosTeste, CaminhoLocalSemCaixa)
{
    EXPECT_EQ(CaminhoLocal(Modulo("Config\\EMPRESAS\\00000123\\mirabelo.INI")),
              (Raiz / "config" / "empresas" / "00000123" / "Mirabelo.ini").string());
    EXPECT_EQ(CaminhoLocal(Modulo("config\\empresas\\00000123\\Mirabelo.ini")),
              (Raiz / "config" / "empresas" / "00000123" / "Mirabelo.ini").string());
    EXPECT_EQ(CaminhoLocal(Modulo("CONFIG\\")), (Raiz / "config").string() + "/");
}

TEST_F(ArquivosTeste, CaminhoLocalComponenteDoMeioAusente)
{
    // The missing component and everything below it keep the spelling given.
    EXPECT_EQ(CaminhoLocal(Modulo("CONFIG\\Falta\\EMPRESAS\\x.INI")), (Raiz / "config" / "Falta" / "EMPRESAS" / "x.INI").string());
    EXPECT_EQ(CaminhoLocal(Modulo("Config\\Empresas\\00000999\\Mirabelo.ini")),
              (Raiz / "config" / "empresas" / "00000999" / "Mirabelo.ini").string());
}

TEST_F(ArquivosTeste, CaminhoLocalPrefereOMesmoNome)
{
    fs::create_directories(Raiz / "CONFIG");
    EXPECT_EQ(CaminhoLocal(Modulo("CONFIG\\x")), (Raiz / "CONFIG" / "x").string());
    EXPECT_EQ(CaminhoLocal(Modulo("config\\empresas")), (Raiz / "config" / "empresas").string());
}

TEST(CombinaMascara, CuringasSemCaixa)
{
    EXPECT_TRUE(CombinaMascara("Servidor.CNF", "*.cnf"));
    EXPECT_TRUE(CombinaMascara("a.cnf", "*.CNF"));
    EXPECT_TRUE(CombinaMascara(".cnf", "*.cnf"));
    EXPECT_FALSE(CombinaMascara("a.cnfx", "*.cnf"));
    EXPECT_FALSE(CombinaMascara("a.cn", "*.cnf"));
    EXPECT_TRUE(CombinaMascara("abc", "a?c"));
    EXPECT_FALSE(CombinaMascara("ac", "a?c"));
    EXPECT_TRUE(CombinaMascara("", "*"));
    EXPECT_TRUE(CombinaMascara("qualquer", "*"));
    EXPECT_TRUE(CombinaMascara("aXbYc", "a*b*c"));
    EXPECT_FALSE(CombinaMascara("aXbY", "a*b*c"));
    EXPECT_TRUE(CombinaMascara("Mirabelo.ini", "MIRABELO.INI"));
    EXPECT_FALSE(CombinaMascara("Mirabelo.ini", ""));
    EXPECT_TRUE(CombinaMascara(std::string(200, 'a') + "b", "*a*a*a*b"));
}

TEST_F(ArquivosTeste, ListaDiretorioFiltraSemCaixa)
{
    const fs::path Config = Raiz / "config";
    std::ofstream(Config / "a.CNF") << "x";
    std::ofstream(Config / "b.cnf") << "x";
    std::ofstream(Config / "c.txt") << "x";
    fs::create_directories(Config / "D.cnf");
    std::vector<TEntradaDiretorio> E{{"lixo", false}};
    ASSERT_TRUE(ListaDiretorio(Modulo("CONFIG"), "*.cnf", E));
    std::sort(E.begin(), E.end(), [](const auto& A, const auto& B) { return A.Nome < B.Nome; });
    ASSERT_EQ(E.size(), 3u);
    EXPECT_EQ(E[0].Nome, "D.cnf");
    EXPECT_TRUE(E[0].Diretorio);
    EXPECT_EQ(E[1].Nome, "a.CNF");
    EXPECT_FALSE(E[1].Diretorio);
    EXPECT_EQ(E[2].Nome, "b.cnf");

    ASSERT_TRUE(ListaDiretorio(Modulo("config"), "*", E));
    EXPECT_EQ(E.size(), 5u) << "\".\" and \"..\" are left out";
    EXPECT_FALSE(ListaDiretorio(Modulo("Falta"), "*", E));
    EXPECT_TRUE(E.empty());
}

TEST_F(ArquivosTeste, SetFileAttributesSomenteLeitura)
{
    const std::string Ini = Modulo("CONFIG\\empresas\\00000123\\MIRABELO.INI");
    const fs::path Local = Raiz / "config" / "empresas" / "00000123" / "Mirabelo.ini";
    fs::permissions(Local, fs::perms(0664));
    EXPECT_EQ(GetFileAttributesA(Ini) & FILE_ATTRIBUTE_READONLY, 0u);
    ASSERT_TRUE(SetFileAttributesA(Ini, FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(fs::status(Local).permissions() & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write),
              fs::perms::none);
    EXPECT_EQ(fs::status(Local).permissions() & fs::perms::owner_read, fs::perms::owner_read);
    EXPECT_NE(GetFileAttributesA(Ini) & FILE_ATTRIBUTE_READONLY, 0u);
    ASSERT_TRUE(SetFileAttributesA(Ini, FILE_ATTRIBUTE_NORMAL));
    EXPECT_NE(fs::status(Local).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_EQ(GetFileAttributesA(Ini), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(SetFileAttributesA(Modulo("config\\falta.ini"), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributesA(Modulo("config\\falta.ini")), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA(Modulo("CONFIG")) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

} // namespace
