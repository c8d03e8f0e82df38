#include "db/MkSqLite3Variant.h"

#include "db/MkSqLite3Api.h"
#include "platform/Ascii.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

std::optional<double> RealDeTexto(const std::string& Texto) noexcept
{
    try {
        const std::string T(AparaBrancos(Texto));
        if (T.empty())
            return std::nullopt;
        char* Fim = nullptr;
        const double V = std::strtod(T.c_str(), &Fim);
        if (*Fim != '\0' || !std::isfinite(V))
            return std::nullopt;
        return V;
    } catch (...) {
        return std::nullopt;
    }
}

const char* NomeTipo(const TMkVariant& V) noexcept
{
    static const char* const Nomes[] = {"Empty", "Null", "Integer", "Double", "Date", "String", "Array Byte"};
    return Nomes[V.index()];
}

[[noreturn]] void ErroConversao(const TMkVariant& V, const char* Destino)
{
    LevantaErroSqlite(std::string("Could not convert variant of type (") + NomeTipo(V) + ") into type (" + Destino + ")");
}

// A number of a value: an integer as it is, a double or a date-time through DeReal, a text through
// DeTexto, empty 0.
template <class T, class TDeReal, class TDeTexto>
T ComoNumero(const TMkVariant& V, TDeReal DeReal, TDeTexto DeTexto, const char* Destino)
{
    if (const auto* I = std::get_if<std::int32_t>(&V))
        return *I;
    if (const auto* D = std::get_if<double>(&V))
        return DeReal(*D);
    if (const auto* Dh = std::get_if<TDataHora>(&V))
        return DeReal(Dh->Dias);
    if (const auto* S = std::get_if<std::string>(&V))
        if (auto N = DeTexto(*S))
            return static_cast<T>(*N);
    if (std::holds_alternative<std::monostate>(V))
        return 0;
    ErroConversao(V, Destino);
}

} // namespace

std::optional<long long> InteiroDeTexto(const std::string& Texto) noexcept
{
    try {
        const std::string T(AparaBrancos(Texto));
        if (T.empty())
            return std::nullopt;
        char* Fim = nullptr;
        errno = 0;
        const long long V = std::strtoll(T.c_str(), &Fim, 10);
        if (*Fim != '\0' || errno == ERANGE || std::isspace(static_cast<unsigned char>(T[0])))
            return std::nullopt;
        return V;
    } catch (...) {
        return std::nullopt;
    }
}

std::int64_t ComoInt64(const TMkVariant& V)
{
    return ComoNumero<std::int64_t>(V, [](double D) { return std::llrint(D); }, InteiroDeTexto, "Int64");
}

double ComoDouble(const TMkVariant& V)
{
    return ComoNumero<double>(V, [](double D) { return D; }, RealDeTexto, "Double");
}

TDataHora ComoDataHora(const TMkVariant& V)
{
    if (const auto* Dh = std::get_if<TDataHora>(&V))
        return *Dh;
    if (const auto* S = std::get_if<std::string>(&V))
        return mkStrToDate(*S);
    if (std::holds_alternative<std::int32_t>(V) || std::holds_alternative<double>(V))
        return TDataHora{ComoDouble(V)};
    ErroConversao(V, "Date");
}

bool ComoBooleano(const TMkVariant& V)
{
    if (const auto* S = std::get_if<std::string>(&V)) {
        if (IguaisSemCaixa(AparaBrancos(*S), "true"))
            return true;
        if (IguaisSemCaixa(AparaBrancos(*S), "false"))
            return false;
        if (auto N = RealDeTexto(*S))
            return *N != 0;
        ErroConversao(V, "Boolean");
    }
    if (std::holds_alternative<TBytes>(V) || std::holds_alternative<TVarNulo>(V))
        ErroConversao(V, "Boolean");
    return ComoDouble(V) != 0;
}

std::int32_t ClasseDoValor(const TMkVariant& V) noexcept
{
    if (std::holds_alternative<std::int32_t>(V))
        return 1;
    if (std::holds_alternative<double>(V) || std::holds_alternative<TDataHora>(V))
        return 2;
    if (std::holds_alternative<std::string>(V))
        return 3;
    if (std::holds_alternative<TBytes>(V))
        return 4;
    return CLASSE_NULL;
}

bool VarIsEmpty(const TMkVariant& V) noexcept
{
    return std::holds_alternative<std::monostate>(V);
}

bool VarIsNull(const TMkVariant& V) noexcept
{
    return std::holds_alternative<TVarNulo>(V);
}

std::string VarToStr(const TMkVariant& V)
{
    if (const auto* I = std::get_if<std::int32_t>(&V))
        return std::to_string(*I);
    if (const auto* D = std::get_if<double>(&V)) {
        char Texto[64];
        std::snprintf(Texto, sizeof Texto, "%.15g", *D);
        return Texto;
    }
    if (const auto* Dh = std::get_if<TDataHora>(&V))
        return mkDateToStr(*Dh);
    if (const auto* S = std::get_if<std::string>(&V))
        return *S;
    if (const auto* B = std::get_if<TBytes>(&V))
        return std::string(B->begin(), B->end());
    return {};
}

std::int32_t VarToInt(const TMkVariant& V)
{
    if (std::holds_alternative<TVarNulo>(V) || std::holds_alternative<TBytes>(V))
        ErroConversao(V, "Integer");
    if (const auto* S = std::get_if<std::string>(&V); S && !InteiroDeTexto(*S))
        ErroConversao(V, "Integer");
    if (const auto* D = std::get_if<double>(&V); D && !(std::fabs(*D) < 2147483648.0))
        ErroConversao(V, "Integer");
    const std::int64_t N = ComoInt64(V);
    if (N < INT32_MIN || N > INT32_MAX)
        ErroConversao(V, "Integer");
    return static_cast<std::int32_t>(N);
}
