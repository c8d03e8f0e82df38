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
    E = ExecutaComando(R.Pasta, "QT_QPA_PLATFORM=offscreen " + Programa + " --level 2 --open TFormTransHab_167171 --screenshot " +
                                    Foto.string());
    EXPECT_EQ(E.Status, 0) << E.Erros;
    EXPECT_EQ(TRaizTeste::Le(Foto).substr(1, 3), "PNG");

    struct { const char* Argumentos; const char* Erro; } Casos[] = {
        {"--open TFormQueNaoExiste", "no screen class TFormQueNaoExiste"},
        {"--level 70000", "--level takes a number from 0 to 65535"},
        {"--module /nonexistent.so --list", "cannot load the module"},
    };
    for (const auto& Caso : Casos) {
        E = ExecutaComando(R.Pasta, "QT_QPA_PLATFORM=offscreen " + Programa + " " + Caso.Argumentos);
        EXPECT_EQ(E.Status, 2) << Caso.Argumentos;
        EXPECT_NE(E.Erros.find(Caso.Erro), std::string::npos) << E.Erros;
    }
}
