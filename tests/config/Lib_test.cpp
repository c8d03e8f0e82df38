#include "config/Lib.h"

#include "RaizTeste.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(LerRaizPathKovan, LeCfKovanAoLadoDoExecutavel)
{
    TRaizTeste R;
    const std::string Exe = (R.Pasta / "bin" / "cfkovan").string();
    EXPECT_EQ(LerRaizPathKovan(Exe), "\\Kovan") << "CfKovan.ini missing";
    TRaizTeste::Grava(R.Pasta / "bin" / "cfkovan.INI", "[Config]\r\nRAIZ=/srv/kovan/x\r\n");
    EXPECT_EQ(LerRaizPathKovan(Exe), "\\srv\\kovan\\x") << "found without regard to case, slashes turned";
}

// Multi-company mode and duplicate codes from KovanCfg.ini; ConfLog.ini's TipoLog=3 withdraws the latter.
TEST(ConfiguracaoServidor, ModoEDuplicidade)
{
    const struct {
        const char *KovanCfg, *ConfLog;  // null: no file
        bool Multi, Duplicados;
    } Casos[] = {
        {nullptr, nullptr, false, false},
        {"[config]\nTipoConfKovan=  multiEmpresa  \n", nullptr, true, false},
        {"[config]\nTipoConfKovan=multi\n", nullptr, false, false},
        {"[config]\nPermiteDuplEstab=sim\n", nullptr, false, true},
        {"[config]\nPermiteDuplEstab=sim\n", "[log]\nTipoLog=3\n", false, false},
        {"[config]\nPermiteDuplEstab=SIM\n", "[log]\nTipoLog=2\n", false, true},
        {"[config]\nPermiteDuplEstab=NAO\n", nullptr, false, false},
    };
    for (const auto& Caso : Casos) {
        SCOPED_TRACE(std::string(Caso.KovanCfg ? Caso.KovanCfg : "-") + (Caso.ConfLog ? Caso.ConfLog : ""));
        TRaizTeste R;
        for (const auto& [Nome, Texto] : {std::pair{"KovanCfg.ini", Caso.KovanCfg}, std::pair{"ConfLog.ini", Caso.ConfLog}})
            if (Texto)
                TRaizTeste::Grava(R.Raiz / "config" / Nome, Texto);
        EXPECT_EQ(KovanMultiEmpresa(R.RaizTexto()), Caso.Multi);
        EXPECT_EQ(PermiteDuplicidadeEstabelecimento(R.RaizTexto()), Caso.Duplicados);
    }
}

// Only company files are listed; a company file that cannot be opened (a link to nothing, even for
// root) stops the scan: 0.
TEST(LerEmpresas, SoArquivosDeEmpresaValidos)
{
    TRaizTeste R;
    R.CriaEmpresa("00000123");
    TRaizTeste::Grava(R.Raiz / "config" / "abcd1234.CNF", std::string("\x10\x01", 2));
    R.CriaEmpresa("0000001");                                 // 7 characters
    R.CriaEmpresa("0000-001");                                // hyphen
    TRaizTeste::Grava(R.Raiz / "config" / "00000001.cnfx", std::string("\x10\x01", 2));
    R.CriaEmpresa("00000002", "");                            // 0 bytes
    R.CriaEmpresa("00000003", "\x10");                        // 1 byte
    R.CriaEmpresa("00000004", std::string("\x01\x10", 2));    // wrong first bytes
    fs::create_directories(R.Raiz / "config" / "00000005.cnf");

    std::vector<std::string> Lista{"lixo"};
    EXPECT_EQ(LerEmpresas(R.RaizTexto(), Lista), 2);
    std::sort(Lista.begin(), Lista.end());
    EXPECT_EQ(Lista, (std::vector<std::string>{"00000123", "ABCD1234"}));
    EXPECT_TRUE(ExisteEmpresa(R.RaizTexto(), "00000123"));
    EXPECT_FALSE(ExisteEmpresa(R.RaizTexto(), "00000999"));
    EXPECT_FALSE(ExisteEmpresa(R.RaizTexto(), "../../etc/passwd"));

    fs::create_symlink(R.Pasta / "nada", R.Raiz / "config" / "00001010.cnf");
    EXPECT_EQ(LerEmpresas(R.RaizTexto(), Lista), 0);
    EXPECT_LT(Lista.size(), 3u);
    fs::remove_all(R.Raiz / "config");
    EXPECT_EQ(LerEmpresas(R.RaizTexto(), Lista), 0) << "no config folder";
    EXPECT_TRUE(Lista.empty());
}

TEST(FiltrosDeTecla, LetrasNumerosEControles)
{
    struct { char Tecla; bool Numeros; bool LetrasNumeros; } Casos[] = {
        {'5', true, true}, {'a', false, true}, {'Z', false, true}, {'.', false, false}, {'-', false, false},
        {' ', false, false}, {'\xe7', false, false}, {'\x80', false, false}, {8, true, true}, {9, true, true},
        {10, true, true}, {13, true, true}, {27, true, true}, {1, false, false}};
    for (const auto& Caso : Casos) {
        SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(Caso.Tecla)));
        char A = Caso.Tecla, B = Caso.Tecla;
        EXPECT_EQ(SomenteNumeros(A), Caso.Numeros ? Caso.Tecla : 0);
        EXPECT_EQ(A, Caso.Numeros ? Caso.Tecla : 0);
        EXPECT_EQ(SomenteLetrasNumeros(B), Caso.LetrasNumeros ? Caso.Tecla : 0);
    }
}

TEST(Versoes, ComparaVersaoMinima)
{
    struct { const char* Minima; const char* Atual; bool Esperado; } Casos[] = {
        {"3.13.0.0", "3.9.2.0", false}, {"3.13.0.0", "3.13.0.0", true}, {"3.13.0.0", "4.0.0.0", true},
        {"3.13.0.0", "3.13", true},     {"3.13.0.1", "3.13", false},    {"3.13.0.0", "3.40.1.0", true},
        {"3.13.0.0", "", false},
    };
    for (const auto& Caso : Casos)
        EXPECT_EQ(ComparaVersaoMinima(Caso.Minima, Caso.Atual), Caso.Esperado) << Caso.Minima << " vs " << Caso.Atual;
}

TEST(Privilegio, Regra)
{
    struct { std::uint16_t Acao, Nivel; bool Permite; } Casos[] = {
        {4, 2, false}, {2, 2, false}, {4, 4, true}, {4, 0, true},
        {0, 2, true},  {1, 4, false}, {1, 2, false}, {2, 4, true},
    };
    for (const auto& Caso : Casos)
        EXPECT_EQ(VerPrivilegio(Caso.Acao, Caso.Nivel), Caso.Permite) << Caso.Acao << "," << Caso.Nivel;
}
