#include "db/MkSqLite3Data.h"

#include "db/MkSqLite3Api.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

constexpr std::int64_t MS_POR_DIA = 86400000;

// Days from 1970-01-01 of a proleptic Gregorian date.
std::int64_t DiasDeCivil(std::int64_t A, unsigned M, unsigned D) noexcept
{
    A -= M <= 2;
    const std::int64_t Era = (A >= 0 ? A : A - 399) / 400;
    const unsigned Ano = static_cast<unsigned>(A - Era * 400);
    const unsigned Dia = (153 * (M > 2 ? M - 3 : M + 9) + 2) / 5 + D - 1;
    const unsigned DiaEra = Ano * 365 + Ano / 4 - Ano / 100 + Dia;
    return Era * 146097 + static_cast<std::int64_t>(DiaEra) - 719468;
}

void CivilDeDias(std::int64_t Z, std::int64_t& A, unsigned& M, unsigned& D) noexcept
{
    Z += 719468;
    const std::int64_t Era = (Z >= 0 ? Z : Z - 146096) / 146097;
    const unsigned DiaEra = static_cast<unsigned>(Z - Era * 146097);
    const unsigned Ano = (DiaEra - DiaEra / 1460 + DiaEra / 36524 - DiaEra / 146096) / 365;
    const unsigned Dia = DiaEra - (365 * Ano + Ano / 4 - Ano / 100);
    const unsigned Mp = (5 * Dia + 2) / 153;
    D = Dia - (153 * Mp + 2) / 5 + 1;
    M = Mp < 10 ? Mp + 3 : Mp - 9;
    A = static_cast<std::int64_t>(Ano) + Era * 400 + (M <= 2);
}

// TDataHora counts from 1899-12-30.
const std::int64_t DiaZero = DiasDeCivil(1899, 12, 30);

bool AnoBissexto(std::int64_t A) noexcept
{
    return (A % 4 == 0 && A % 100 != 0) || A % 400 == 0;
}

unsigned DiasDoMes(std::int64_t A, unsigned M) noexcept
{
    static const unsigned Dias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return M == 2 && AnoBissexto(A) ? 29 : Dias[M - 1];
}

// Reads the date and time texts of mkStrToDate.
class TLeitorData {
public:
    explicit TLeitorData(const std::string& Texto) : T(Texto) {}

    std::optional<TDataHora> Le()
    {
        Brancos();
        const std::size_t Inicio = P;
        int A = 0, M = 0, D = 0, DigitosAno = 0;
        bool TemData = false;
        if (Numero(A, 4, &DigitosAno) && Caractere('/') && Numero(M, 2) && Caractere('/') && Numero(D, 2)) {
            TemData = true;
        } else {
            P = Inicio;
        }
        int H = 0, N = 0, S = 0, Z = 0;
        bool TemHora = false;
        if (TemData) {
            const std::size_t AntesBrancos = P;
            Brancos();
            if (P == AntesBrancos && !Fim())
                return std::nullopt;
        }
        if (!Fim()) {
            if (!Hora(H, N, S, Z))
                return std::nullopt;
            TemHora = true;
        }
        Brancos();
        if (!Fim() || (!TemData && !TemHora))
            return std::nullopt;

        double Dias = 0;
        if (TemData) {
            std::int64_t Ano = A;
            if (DigitosAno <= 2)
                Ano = ComSeculo(A);
            if (Ano < 1 || M < 1 || M > 12 || D < 1 || static_cast<unsigned>(D) > DiasDoMes(Ano, M))
                return std::nullopt;
            Dias = static_cast<double>(DiasDeCivil(Ano, M, D) - DiaZero);
        }
        if (H > 23 || N > 59 || S > 59 || Z > 999)
            return std::nullopt;
        const double Fracao = (((H * 60.0 + N) * 60.0 + S) * 1000.0 + Z) / MS_POR_DIA;
        // Before day 0 the time of day still runs forward: -1.25 is 1899-12-29 06:00.
        return TDataHora{Dias < 0 ? Dias - Fracao : Dias + Fracao};
    }

private:
    bool Fim() const noexcept { return P >= T.size(); }
    void Brancos() noexcept
    {
        while (!Fim() && (T[P] == ' ' || T[P] == '\t'))
            ++P;
    }
    bool Caractere(char C) noexcept
    {
        if (Fim() || T[P] != C)
            return false;
        ++P;
        return true;
    }
    bool Numero(int& V, int MaxDigitos, int* Digitos = nullptr) noexcept
    {
        int Lidos = 0;
        V = 0;
        while (!Fim() && T[P] >= '0' && T[P] <= '9' && Lidos < MaxDigitos) {
            V = V * 10 + (T[P] - '0');
            ++P;
            ++Lidos;
        }
        if (Digitos)
            *Digitos = Lidos;
        return Lidos > 0 && (Fim() || T[P] < '0' || T[P] > '9');
    }
    bool Hora(int& H, int& N, int& S, int& Z) noexcept
    {
        if (!Numero(H, 2) || !Caractere(':') || !Numero(N, 2))
            return false;
        if (Caractere(':')) {
            if (!Numero(S, 2))
                return false;
            if (Caractere('.') && !Numero(Z, 3))
                return false;
        }
        return true;
    }
    // A two-digit year falls within 50 years of the current one.
    static std::int64_t ComSeculo(int A)
    {
        const auto Hoje = std::chrono::year_month_day(std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now()));
        const int Base = static_cast<int>(Hoje.year()) - 50;
        std::int64_t Ano = A + Base / 100 * 100;
        if (Ano < Base)
            Ano += 100;
        return Ano;
    }

    const std::string& T;
    std::size_t P = 0;
};

} // namespace

std::string mkDateToStr(TDataHora Data)
{
    double Inteira = 0;
    const double Fracao = std::fabs(std::modf(Data.Dias, &Inteira));
    std::int64_t Dia = static_cast<std::int64_t>(Inteira);
    std::int64_t Ms = std::llround(Fracao * MS_POR_DIA);
    if (Ms >= MS_POR_DIA) {
        Ms -= MS_POR_DIA;
        ++Dia;
    }
    std::int64_t A = 0;
    unsigned M = 0, D = 0;
    CivilDeDias(Dia + DiaZero, A, M, D);
    char Texto[64];
    std::snprintf(Texto, sizeof Texto, "%04lld/%02u/%02u %02lld:%02lld:%02lld.%03lld", static_cast<long long>(A), M, D,
                  static_cast<long long>(Ms / 3600000), static_cast<long long>(Ms / 60000 % 60),
                  static_cast<long long>(Ms / 1000 % 60), static_cast<long long>(Ms % 1000));
    return Texto;
}

std::optional<TDataHora> TentaStrToDate(const std::string& Texto) noexcept
{
    try {
        return TLeitorData(Texto).Le();
    } catch (...) {
        return std::nullopt;
    }
}

TDataHora mkStrToDate(const std::string& Texto)
{
    if (auto Data = TentaStrToDate(Texto))
        return *Data;
    LevantaErroSqlite("'" + Texto + "' is not a valid date and time");
}
