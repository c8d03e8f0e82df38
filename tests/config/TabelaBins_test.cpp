// The BIN-table rules and the load and save a screen and the tool share, on real files.
#include "config/TabelaBins.h"

#include "RaizTeste.h"
#include "platform/Cp1252.h"

#include <gtest/gtest.h>

namespace {

std::string Cp(const std::string& Utf8)
{
    return Utf8ParaCp1252(Utf8);
}

struct TCasoCompara {
    const char* Nome;
    const char* A;
    const char* B;
    bool Sobrepoe;
};

class ComparaBin : public ::testing::TestWithParam<TCasoCompara> {};

TEST_P(ComparaBin, IntervalosFechadosDeNoveDigitos)
{
    const TCasoCompara& C = GetParam();
    EXPECT_EQ(RegrasBins::ComparaBin(C.A, C.B), C.Sobrepoe);
    EXPECT_EQ(RegrasBins::ComparaBin(C.B, C.A), C.Sobrepoe);
}

INSTANTIATE_TEST_SUITE_P(Casos, ComparaBin,
                         ::testing::Values(TCasoCompara{"BinNaFaixa", "601234", "60123456-60123499", true},
                                           TCasoCompara{"Vizinhos", "601234", "601235", false},
                                           TCasoCompara{"PontaSuperior", "601234-601240", "601240", true},
                                           TCasoCompara{"SeteDigitos", "601234", "6012340", true},
                                           TCasoCompara{"DemoCorrigida", "601234", "60124500-60124599", false},
                                           TCasoCompara{"NaoNumerico", "abcdef", "000000", true}),
                         [](const auto& I) { return std::string(I.param.Nome); });

TEST(TabelaBins, CompletaBinEValidaEntrada)
{
    EXPECT_EQ(RegrasBins::CompletaBin("601234", 0), "601234000");
    EXPECT_EQ(RegrasBins::CompletaBin("601234", 9), "601234999");
    EXPECT_EQ(RegrasBins::CompletaBin("6012345678", 9), "6012345678");
    struct {
        const char* Entrada;
        std::optional<TErroBins> Erro;
    } Casos[] = {{"601234", {}},          {"601234567", {}}, {"60123456-60123499", {}}, {"601234-601234", {}},
                 {"12345", TErroBins::TamanhoInvalido},       {"6012345678", TErroBins::TamanhoInvalido},
                 {"60123a", TErroBins::TamanhoInvalido},      {"601234-60", TErroBins::TamanhoInvalido},
                 {"601234-601230", TErroBins::SuperiorMenor}, {"601234-601240-1", TErroBins::TamanhoInvalido}};
    for (const auto& C : Casos)
        EXPECT_EQ(RegrasBins::ValidaEntrada(C.Entrada), C.Erro) << C.Entrada;
}

TEST(TabelaBins, VerificaTabelaDizCadaRegraQuebrada)
{
    const std::string Longa = [] {
        std::string L;
        for (int I = 0; I < 26; ++I)
            L += std::to_string(600000000 + I * 1000) + ";";
        return L;
    }();
    const std::vector<TLinhaBins> Linhas = {
        {"CARTAO X", "601234;", true},
        {" cartao x ", "606070;", false},                  // the same name, trimmed, any case
        {"   ", "601234;60123456-60123499;", false},       // blanks are no name; overlap in the row
        {"VALE", "12345;601234-601230;", false},           // size; inverted range
        {"NOME COM MAIS DE 21 CH", "601234;606070", false}, // too long; the last entry without ";"
        {"LONGA", Longa, false},
        {"VAZIA", "", false},
    };
    std::vector<std::pair<std::size_t, TErroBins>> Obtidas;
    for (const TFalhaBins& F : RegrasBins::VerificaTabela(Linhas))
        Obtidas.emplace_back(F.Linha, F.Erro);
    EXPECT_EQ(Obtidas, (std::vector<std::pair<std::size_t, TErroBins>>{
                           {1, TErroBins::NomeExistente},
                           {2, TErroBins::SemNome},
                           {2, TErroBins::BinExistente},
                           {3, TErroBins::TamanhoInvalido},
                           {3, TErroBins::SuperiorMenor},
                           {4, TErroBins::NomeLongo},
                           {4, TErroBins::ListaMalFormada},
                           {5, TErroBins::ListaCheia},
                           {6, TErroBins::SemBin},
                       }));
    EXPECT_EQ(RegrasBins::Mensagem(TErroBins::BinExistente), Cp("Bin(s) já existente(s)"));
    EXPECT_EQ(RegrasBins::MontaLista({"601235", "60123456-60123499", "4000000"}), "4000000;60123456-60123499;601235;");
}

class TabelaBinsArquivo : public ::testing::Test {
protected:
    std::string Geral() const { return TRaizTeste::Le(R.Raiz / "config" / "Mirabelo.ini"); }
    TAuditoria Registra()
    {
        return [this](const std::string& Texto) {
            Auditoria.push_back(Texto);
            ArquivoNaAuditoria.push_back(Geral());
        };
    }
    TRaizTeste R;
    std::vector<std::string> Auditoria, ArquivoNaAuditoria;
};

// The same bytes and the same audit entries as the screen's save of the same table; each entry is
// written while the file still holds the old tables.
TEST_F(TabelaBinsArquivo, SalvaComoATelaEAuditaAntes)
{
    TTabelasBins T;
    T.Linhas[TabelaDebito] = {{"CARTAO", "4000000;601234;", true}};
    ASSERT_TRUE(SalvaTabelasBins(R.RaizTexto(), "", T, Registra()));
    EXPECT_EQ(Geral(), "[debito_01]\r\nnome=CARTAO\r\nbins=4000000;601234;\r\nsenha=1\r\n"
                       "[tabbins]\r\ntotdeb=1\r\ntotcomb=0\r\n");
    EXPECT_EQ(Auditoria, (std::vector<std::string>{"Mirabelo/Range/Geral - Debito\r\nBins : Lin1(CARTAO/4000000;601234;/Senha:1); ",
                                                   Cp("Mirabelo/Range/Geral - Combustível\r\nBins : ")}));
    EXPECT_EQ(ArquivoNaAuditoria, (std::vector<std::string>{"", ""}));

    const TCargaBins Carga = CarregaTabelasBins(R.RaizTexto(), "");
    EXPECT_TRUE(Carga.Existe && Carga.Guardadas);
    EXPECT_EQ(Carga.Tabelas, T);

    // A shorter table: the stale rows go. Empty cells and an "X" name show their column's title.
    Auditoria.clear();
    T.Linhas[TabelaDebito] = {{"X", "601234;", false}};
    T.Linhas[TabelaCombustivel] = {{"FROTA", "", true}};
    ASSERT_TRUE(SalvaTabelasBins(R.RaizTexto(), "", T, Registra(), {"Nome ", "Bins", "Senha"}));
    EXPECT_EQ(CarregaTabelasBins(R.RaizTexto(), "").Tabelas, T);
    EXPECT_EQ(Auditoria[0], "Mirabelo/Range/Geral - Debito\r\nBins : Lin1(Nome :1/601234;/Senha:0); ");
    EXPECT_EQ(Auditoria[1], Cp("Mirabelo/Range/Geral - Combustível\r\nBins : Lin1(FROTA/Bins:0/Senha:1); "));

    Auditoria.clear();
    EXPECT_TRUE(ApagaTabelasBins(R.RaizTexto(), "", Registra()));
    EXPECT_EQ(Auditoria, (std::vector<std::string>{Cp("Mirabelo/Range/Geral - Debito - Opção Exclusão"),
                                                   Cp("Mirabelo/Range/Geral - Combustível - Opção Exclusão")}));
    EXPECT_FALSE(CarregaTabelasBins(R.RaizTexto(), "").Guardadas);
}

} // namespace
