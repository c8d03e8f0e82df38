// The enabled-transactions rules and the load and save a screen and the tool share, on real files.
#include "config/TransHab.h"

#include "RaizTeste.h"
#include "platform/Cp1252.h"

#include <gtest/gtest.h>

namespace {

TEST(TransHab, ValidaAsParcelasComoATela)
{
    struct {
        const char* Parcelas;
        bool Habilitadas;
        std::optional<TErroTransHab> Erro;
    } Casos[] = {{"", true, TErroTransHab::InformeParcelas}, {"0", true, TErroTransHab::ParcelasInvalido},
                 {"00", true, TErroTransHab::ParcelasInvalido}, {"01", true, {}},
                 {"99", true, {}}, {"", false, {}}, {"0", false, {}},
                 {"100", false, TErroTransHab::ParcelasInvalido}, {"1a", true, TErroTransHab::ParcelasInvalido}};
    for (const auto& C : Casos) {
        TTransHab V;
        V.NumeroParcelas = C.Parcelas;
        EXPECT_EQ(RegrasTransHab::Valida(V, C.Habilitadas), C.Erro) << C.Parcelas << " " << C.Habilitadas;
    }
    EXPECT_EQ(RegrasTransHab::Mensagem(TErroTransHab::InformeParcelas), Utf8ParaCp1252("Informe o número de parcelas."));
}

TEST(TransHab, SalvaCarregaEApagaComAAuditoriaDaTela)
{
    TRaizTeste R;
    const auto Ini = R.IniEmpresa("00000123");
    std::vector<std::string> Auditoria, NoArquivo;
    const TAuditoria Registra = [&](const std::string& Texto) {
        Auditoria.push_back(Texto);
        NoArquivo.push_back(TRaizTeste::Le(Ini));
    };
    EXPECT_FALSE(CarregaTransHab(R.RaizTexto(), "00000123").Configurada);
    EXPECT_EQ(CarregaTransHab(R.RaizTexto(), "00000123").Valores, TTransHab{});

    const TTransHab V{true, false, true, "12"};
    ASSERT_TRUE(SalvaTransHab(R.RaizTexto(), "00000123", V, Registra));
    EXPECT_EQ(TRaizTeste::Le(Ini), "[trnhabilitada]\r\ndebitovista=1\r\ncancelamento=0\r\n"
                                   "parceladojurosestabelecimento=1\r\nnumeroparcelas=12\r\n");
    EXPECT_EQ(Auditoria, (std::vector<std::string>{Utf8ParaCp1252(
                             "Mirabelo/Transações Habilitadas/00000123\r\n"
                             "DebVista: 1; DebParcAdm: 0; DebParcEstab: 1; DebCanc: 0; DebNParc: 12;")}));
    EXPECT_EQ(NoArquivo, (std::vector<std::string>{""}));  // the entry before the values
    const TCargaTransHab Carga = CarregaTransHab(R.RaizTexto(), "00000123");
    EXPECT_TRUE(Carga.Configurada);
    EXPECT_EQ(Carga.Valores, V);

    Auditoria.clear();
    EXPECT_TRUE(ApagaTransHab(R.RaizTexto(), "00000123", Registra));
    EXPECT_EQ(Auditoria, (std::vector<std::string>{Utf8ParaCp1252("Mirabelo/Transações Habilitadas/00000123 - Opção Exclusão")}));
    EXPECT_FALSE(CarregaTransHab(R.RaizTexto(), "00000123").Configurada);
    Auditoria.clear();
    EXPECT_FALSE(ApagaTransHab(R.RaizTexto(), "00000456", Registra));  // no file: no entry
    EXPECT_TRUE(Auditoria.empty());
}

} // namespace
