#include "db/MkSqLite3Data.h"

#include "db/CenarioSqlite.h"

#include <gtest/gtest.h>

// Dates are bound and read by no module code: one pass over the text form, read with or without the
// time, refused when it is no real date, and written back to the millisecond.
TEST(mkStrToDate, LidoEscritoDeVoltaOuRecusado)
{
    EXPECT_NEAR(mkStrToDate(" 2020/1/31 10:00 ").Dias, 43861 + 10.0 / 24, 1e-9);
    EXPECT_NEAR(mkStrToDate("18:00").Dias, 0.75, 1e-9);
    EXPECT_FALSE(TentaStrToDate("2021/02/29"));
    EXPECT_EQ(ErroDe([] { mkStrToDate("2020-01-31"); }), "'2020-01-31' is not a valid date and time");
    for (const char* Texto : {"1999/12/31 23:59:59.999", "1899/12/29 06:00:00.000"})
        EXPECT_EQ(mkDateToStr(mkStrToDate(Texto)), Texto);
    EXPECT_EQ(mkDateToStr(TDataHora{0.9999999999}), "1899/12/31 00:00:00.000");
}
