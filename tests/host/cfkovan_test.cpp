// The configurator run as a program: it loads the module, lists the descriptor's screens and opens a
// screen by its class name (offscreen).
#include "ProcessoTeste.h"

#include <gtest/gtest.h>

TEST(Configurador, ListaAbreERecusa)
{
    TRaizTeste R;
    const std::string Programa = PastaDosProgramas() + "/cfkovan";
    TExecucao E = ExecutaComando(R.Pasta, Programa + " --list");
    EXPECT_EQ(E.Status, 0) << E.Erros;
    EXPECT_EQ(E.Saida, "Estabelecimento\tTFormEstabelecimento_167171\n"
                       "Tabela Bins\tTFormTabelaBins_167171\n"
                       "Transações Habilitadas\tTFormTransHab_167171\n");

    const auto Foto = R.Pasta / "tela.png";
    const std::string Config = " --config-dir " + (R.Pasta / "bin").string();
    TRaizTeste::Grava(R.Pasta / "bin" / "CfKovan.ini", "[config]\r\nraiz=" + R.RaizTexto() + "\r\n");
    E = ExecutaComando(R.Pasta, "QT_QPA_PLATFORM=offscreen " + Programa + Config +
                                    " --level 2 --open TFormTransHab_167171 --screenshot " + Foto.string());
    EXPECT_EQ(E.Status, 0) << E.Erros;
    EXPECT_EQ(TRaizTeste::Le(Foto).substr(1, 3), "PNG");

    // A root that does not exist is a typo in CfKovan.ini, never a place for a new tree.
    TRaizTeste::Grava(R.Pasta / "engano" / "CfKovan.ini", "[config]\r\nraiz=" + (R.Pasta / "Kovna").string() + "\r\n");
    const std::string Engano = "--config-dir " + (R.Pasta / "engano").string();
    struct { std::string Argumentos; std::string Erro; } Casos[] = {
        {Config + " --open TFormQueNaoExiste", "no screen class TFormQueNaoExiste"},
        {"--level 70000", "--level takes a number from 0 to 65535"},
        {"--module /nonexistent.so --list", "cannot load the module"},
        {Engano + " --open TFormTransHab_167171", "the server root " + (R.Pasta / "Kovna").string() + " named in"},
    };
    for (const auto& Caso : Casos) {
        E = ExecutaComando(R.Pasta, "QT_QPA_PLATFORM=offscreen " + Programa + " " + Caso.Argumentos);
        EXPECT_EQ(E.Status, 2) << Caso.Argumentos;
        EXPECT_PRED2(Contem, E.Erros, Caso.Erro);
    }
    EXPECT_FALSE(std::filesystem::exists(R.Pasta / "Kovna"));
}
