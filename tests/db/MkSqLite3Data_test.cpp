#include "db/MkSqLite3Data.h"

#include "db/CenarioSqlite.h"

#include <gtest/gtest.h>

TEST(mkStrToDate, LidoComoDataOuRecusado)
{
    const std::pair<const char*, std::optional<double>> Casos[] = {
        {"2020/01/31 10:00:00.000", 43861 + 10.0 / 24}, {"1899/12/30 00:00:00.000", 0.0}, {"2020/1/5", 43835.0},
        {" 2020/01/31 10:00 ", 43861 + 10.0 / 24},       {"18:00", 0.75},                  {"1899/12/29 06:00:00.000", -1.25},
        {"2024/02/29", 45351.0},                          {"abc", std::nullopt},            {"", std::nullopt},
        {"2020/13/01", std::nullopt},                     {"2021/02/29", std::nullopt},     {"2020/01/31 25:00", std::nullopt},
        {"2020-01-31", std::nullopt},                     {"2020/01/31 10:00x", std::nullopt}, {"2020/01/3110:00", std::nullopt}};
    for (const auto& [Texto, Dias] : Casos) {
        SCOPED_TRACE(Texto);
        const auto Lido = TentaStrToDate(Texto);
        ASSERT_EQ(Lido.has_value(), Dias.has_value());
        if (Lido)
            EXPECT_NEAR(Lido->Dias, *Dias, 1e-9);
        else
            EXPECT_EQ(ErroDe([&] { mkStrToDate(Texto); }), std::string("'") + Texto + "' is not a valid date and time");
    }
}

TEST(mkDateToStr, VoltaAoMesmoTextoEArredondaOMilissegundo)
{
    for (const char* Texto : {"2020/01/31 10:00:00.000", "1999/12/31 23:59:59.999", "1899/12/29 06:00:00.000", "0001/01/01 00:00:00.001"})
        EXPECT_EQ(mkDateToStr(mkStrToDate(Texto)), Texto);
    EXPECT_EQ(mkDateToStr(TDataHora{0.9999999999}), "1899/12/31 00:00:00.000");
}
