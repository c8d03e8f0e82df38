// Where the host programs find CfKovan.ini: the folder named on the command line, else beside the
// program, else the system folder; and the module reads the same file as the host.
#include "host/RaizServidor.h"

#include "RaizTeste.h"
#include "config/Lib.h"
#include "platform/Files.h"
#include "runtime/Application.h"

#include <gtest/gtest.h>

namespace {

TEST(PastaDoCfKovan, PrimeiraQueExiste)
{
    const struct {
        bool Nomeada, AoLadoDoPrograma, NoSistema;
        const char* Escolhida;
    } Casos[] = {{true, true, true, "linha"},  {true, false, false, "linha"}, {false, true, true, "bin"},
                 {false, false, true, "etc"}, {false, false, false, "bin"}};
    for (const auto& Caso : Casos) {
        TRaizTeste R;
        const auto Pasta = [&](const char* Nome) { return (R.Pasta / Nome).string(); };
        for (const char* Nome : {"linha", "bin", "etc"})
            std::filesystem::create_directories(Pasta(Nome));
        if (Caso.AoLadoDoPrograma)
            TRaizTeste::Grava(R.Pasta / "bin" / "CfKovan.ini", "[config]\r\nraiz=/a\r\n");
        if (Caso.NoSistema)
            TRaizTeste::Grava(R.Pasta / "etc" / "CfKovan.ini", "[config]\r\nraiz=/b\r\n");
        EXPECT_EQ(PastaDoCfKovan(Caso.Nomeada ? Pasta("linha") : "", Pasta("bin") + "/cfkovan", Pasta("etc")),
                  Pasta(Caso.Escolhida))
            << Caso.Nomeada << Caso.AoLadoDoPrograma << Caso.NoSistema;
    }
}

TEST(LocalizaCfKovan, HostEModuloLeemOMesmoArquivo)
{
    TRaizTeste R;
    TRaizTeste::Grava(R.Pasta / "conf" / "CfKovan.ini", "[config]\r\nraiz=" + R.RaizTexto() + "\r\n");
    LocalizaCfKovan((R.Pasta / "conf").string(), "cfkovan");
    std::string Erro;
    EXPECT_EQ(CaminhoLocal(RaizDoServidor(true, Erro)), R.RaizTexto()) << Erro;
    EXPECT_EQ(CaminhoLocal(LerRaizPathKovan(Application().ExeName())), R.RaizTexto());

    // Found by default, the settings are the program's own and the audit keeps its real path.
    Application().SetExeName("");
    if (!FileExists(std::string(PastaCfKovanSistema) + "/CfKovan.ini")) {
        LocalizaCfKovan("", "cfkovan");
        EXPECT_EQ(Application().ExeName(), CaminhoExecutavelAtual());
        EXPECT_EQ(RaizDoServidor(true, Erro), "");
        EXPECT_NE(Erro.find(" nor /etc/kovan/CfKovan.ini names the server root"), std::string::npos) << Erro;
    }
}

} // namespace
