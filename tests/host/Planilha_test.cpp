// The lines of the tool's BIN and transaction files: every text comes back as it went.
#include "host/Planilha.h"

#include <gtest/gtest.h>

TEST(Planilha, CamposVoltamComoForam)
{
    const std::vector<std::vector<std::string>> Casos = {
        {"00000123", "debito", "CARTAO", "601234 60123456-60123499", "1"},
        {"Todas", "combustivel", "", "", ""},
        {"a;b", "diz \"oi\"", " brancos ", "\"", ";"},
        {""},
    };
    for (const auto& Campos : Casos) {
        std::vector<std::string> Lidos;
        std::string Erro;
        ASSERT_TRUE(SeparaLinhaPlanilha(MontaLinhaPlanilha(Campos), Lidos, Erro)) << Erro;
        EXPECT_EQ(Lidos, Campos) << MontaLinhaPlanilha(Campos);
    }
    EXPECT_EQ(MontaLinhaPlanilha({"a;b", "x\"y", "z"}), "\"a;b\";\"x\"\"y\";z");
}

TEST(Planilha, AspasMalFechadasSaoRecusadas)
{
    std::vector<std::string> Campos;
    std::string Erro;
    EXPECT_FALSE(SeparaLinhaPlanilha("a;\"b;c", Campos, Erro));
    EXPECT_EQ(Erro, "a quoted field is not closed");
    EXPECT_FALSE(SeparaLinhaPlanilha("a;\"b\"c;d", Campos, Erro));
    EXPECT_EQ(Erro, "text after a closing quote");
    ASSERT_TRUE(SeparaLinhaPlanilha("a;;\"\"", Campos, Erro));
    EXPECT_EQ(Campos, (std::vector<std::string>{"a", "", ""}));
}
