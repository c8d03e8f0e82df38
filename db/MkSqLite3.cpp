#include "db/MkSqLite3.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <thread>

namespace {

constexpr int SQLITE_BUSY = 5;
constexpr int SQLITE_LOCKED = 6;
constexpr int SQLITE_ROW = 100;
constexpr int SQLITE_DONE = 101;
constexpr int CLASSE_NULL = 5;
constexpr std::int64_t MS_POR_DIA = 86400000;

// SQLite makes its own copy of a value bound with this destructor.
const auto SQLITE_TRANSIENT = reinterpret_cast<void (*)(void*)>(static_cast<std::intptr_t>(-1));

char Minuscula(char C) noexcept
{
    return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C;
}

std::string Minusculas(std::string Texto)
{
    for (char& C : Texto)
        C = Minuscula(C);
    return Texto;
}

bool IguaisSemCaixa(const std::string& A, const std::string& B) noexcept
{
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
               return Minuscula(X) == Minuscula(Y);
           });
}

std::string Aparado(const std::string& Texto)
{
    const auto Inicio = Texto.find_first_not_of(" \t");
    if (Inicio == std::string::npos)
        return {};
    return Texto.substr(Inicio, Texto.find_last_not_of(" \t") - Inicio + 1);
}

// A whole decimal integer, sign allowed, blanks around it ignored.
std::optional<long long> InteiroDeTexto(const std::string& Texto) noexcept
{
    try {
        const std::string T = Aparado(Texto);
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

std::optional<double> RealDeTexto(const std::string& Texto) noexcept
{
    try {
        const std::string T = Aparado(Texto);
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

std::int64_t ComoInt64(const TMkVariant& V)
{
    if (const auto* I = std::get_if<std::int32_t>(&V))
        return *I;
    if (const auto* D = std::get_if<double>(&V))
        return std::llrint(*D);
    if (const auto* Dh = std::get_if<TDataHora>(&V))
        return std::llrint(Dh->Dias);
    if (const auto* S = std::get_if<std::string>(&V))
        if (auto N = InteiroDeTexto(*S))
            return *N;
    if (std::holds_alternative<std::monostate>(V))
        return 0;
    ErroConversao(V, "Int64");
}

double ComoDouble(const TMkVariant& V)
{
    if (const auto* I = std::get_if<std::int32_t>(&V))
        return *I;
    if (const auto* D = std::get_if<double>(&V))
        return *D;
    if (const auto* Dh = std::get_if<TDataHora>(&V))
        return Dh->Dias;
    if (const auto* S = std::get_if<std::string>(&V))
        if (auto N = RealDeTexto(*S))
            return *N;
    if (std::holds_alternative<std::monostate>(V))
        return 0;
    ErroConversao(V, "Double");
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
        if (IguaisSemCaixa(Aparado(*S), "true"))
            return true;
        if (IguaisSemCaixa(Aparado(*S), "false"))
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

// Whether a statement that found the database busy or locked may try again.
bool PodeRepetir(std::int32_t Limite, std::chrono::steady_clock::time_point Inicio, std::int32_t EsperaSqlite)
{
    if (Limite == 0)
        return false;
    if (Limite > 0 && std::chrono::steady_clock::now() - Inicio >= std::chrono::milliseconds(Limite))
        return false;
    // Without SQLite's own wait, a busy answer comes back at once; don't spin on it.
    if (EsperaSqlite <= 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

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

TFieldType TipoDeclarado(const std::string& Declarado, bool UseDataTypes, std::int32_t& Tamanho)
{
    Tamanho = 0;
    if (!UseDataTypes)
        return ftString;
    static const std::pair<const char*, TFieldType> Mapa[] = {
        {"integer", ftInteger}, {"double", ftFloat}, {"date", ftDateTime},
        {"char", ftString},     {"clob", ftMemo},    {"blob", ftBlob},
    };
    for (const auto& [Texto, Tipo] : Mapa) {
        if (Declarado.find(Texto) == std::string::npos)
            continue;
        if (Tipo == ftString) {
            const auto Abre = Declarado.find('(');
            const auto Fecha = Abre == std::string::npos ? Abre : Declarado.find(')', Abre);
            if (Fecha != std::string::npos)
                if (auto N = InteiroDeTexto(Declarado.substr(Abre + 1, Fecha - Abre - 1)); N && *N >= INT32_MIN && *N <= INT32_MAX)
                    Tamanho = static_cast<std::int32_t>(*N);
        }
        return Tipo;
    }
    return ftString;
}

} // namespace

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

// ---------------------------------------------------------------------------------------------------

void TMkSqlStmt::Finaliza::operator()(sqlite3_stmt* H) const noexcept
{
    Api.sqlite3_finalize(H);
}

TMkSqlStmt::TMkSqlStmt(TMkSqlite& DataBase) : Banco(&DataBase)
{
    Banco->Instrucoes.push_back(this);
}

TMkSqlStmt::~TMkSqlStmt()
{
    close();
    if (Banco)
        std::erase(Banco->Instrucoes, this);
}

TMkSqlite& TMkSqlStmt::BancoAtivo() const
{
    if (!Banco)
        LevantaErroSqlite("Database is closed");
    return *Banco;
}

std::int32_t TMkSqlStmt::fieldCount() const
{
    return Campos ? static_cast<std::int32_t>(Campos->size()) : 0;
}

std::int32_t TMkSqlStmt::fieldIndex(const std::string& Nome) const
{
    for (std::int32_t I = 0; I < fieldCount(); ++I)
        if (IguaisSemCaixa((*Campos)[I].Name, Nome))
            return I;
    return -1;
}

const TmkSqlFieldDef* TMkSqlStmt::get_field(std::int32_t I) const
{
    if (!Campos)
        return nullptr;
    return &Campo(I);
}

const TmkSqlFieldDef& TMkSqlStmt::Campo(std::int32_t I) const
{
    if (!Campos || I < 0 || I >= fieldCount())
        LevantaErroSqlite("column index out of range : " + std::to_string(I));
    return (*Campos)[I];
}

TMkVariant TMkSqlStmt::get_valueof(const std::string& Nome)
{
    const std::int32_t I = fieldIndex(Nome);
    if (I < 0)
        LevantaErroSqlite("no such field : " + Nome);
    return get_value(I);
}

TMkVariant TMkSqlStmt::get_value(std::int32_t I)
{
    if (Eof)
        return {};
    if (ServerCursor) {
        if (!Handle)
            return {};
        std::int32_t Classe = 0;
        return LeColuna(I, Classe);
    }
    if (!Linhas || Linhas->empty())
        return {};
    Campo(I);
    return (*Linhas)[Atual].Valores[I];
}

void TMkSqlStmt::set_value(std::int32_t I, const TMkVariant& Valor)
{
    if (ServerCursor)
        LevantaErroSqlite("wrong cursor state");
    if (Eof)
        LevantaErroSqlite("at eof");
    Campo(I);
    (*Linhas)[Atual].Valores[I] = Valor;
    (*Linhas)[Atual].Classes[I] = ClasseDoValor(Valor);
}

std::int32_t TMkSqlStmt::storageClass(std::int32_t I)
{
    if (Eof)
        return CLASSE_NULL;
    if (ServerCursor) {
        if (!Handle)
            return CLASSE_NULL;
        Campo(I);
        return Api.sqlite3_column_type(Handle.get(), I);
    }
    if (!Linhas || Linhas->empty())
        return CLASSE_NULL;
    Campo(I);
    return (*Linhas)[Atual].Classes[I];
}

TMkVariant TMkSqlStmt::LeColuna(std::int32_t I, std::int32_t& Classe) const
{
    const TmkSqlFieldDef& F = Campo(I);
    sqlite3_stmt* H = Handle.get();
    Classe = Api.sqlite3_column_type(H, I);
    if (Classe == CLASSE_NULL)
        return TVarNulo{};
    auto Texto = [&] {
        const auto* T = reinterpret_cast<const char*>(Api.sqlite3_column_text(H, I));
        const int N = Api.sqlite3_column_bytes(H, I);
        return T ? std::string(T, static_cast<std::size_t>(N)) : std::string();
    };
    if (F.DataType == ftInteger)
        return static_cast<std::int32_t>(Api.sqlite3_column_int(H, I));
    if (F.DataType == ftFloat)
        return Api.sqlite3_column_double(H, I);
    if (F.DataType == ftDateTime) {
        if (Classe == 1 || Classe == 2)
            return TDataHora{Api.sqlite3_column_double(H, I)};
        std::string T = Texto();
        if (auto Data = TentaStrToDate(T))
            return *Data;
        return T;
    }
    if (F.DataType == ftBlob) {
        const auto* B = static_cast<const std::uint8_t*>(Api.sqlite3_column_blob(H, I));
        const int N = Api.sqlite3_column_bytes(H, I);
        return B && N > 0 ? TBytes(B, B + N) : TBytes();
    }
    return Texto();
}

void TMkSqlStmt::step()
{
    if (!Handle) {
        Eof = true;
        return;
    }
    TMkSqlite& Db = BancoAtivo();
    const auto Inicio = std::chrono::steady_clock::now();
    int Resultado = 0;
    do
        Resultado = Api.sqlite3_step(Handle.get());
    while ((Resultado == SQLITE_BUSY || Resultado == SQLITE_LOCKED) &&
           PodeRepetir(Db.StatementTimeout, Inicio, Db.BusyRetryTimeout()));
    if (Resultado == SQLITE_ROW) {
        Eof = false;
    } else {
        Eof = true;
        if (Resultado != SQLITE_DONE)
            Db.check(Api.sqlite3_reset(Handle.get()));
    }
}

void TMkSqlStmt::getColumns()
{
    Campos.reset();
    const int N = Api.sqlite3_column_count(Handle.get());
    if (N <= 0)
        return;
    Campos.emplace();
    Campos->reserve(static_cast<std::size_t>(N));
    for (int I = 0; I < N; ++I) {
        TmkSqlFieldDef F;
        F.Stmt = this;
        if (const char* Nome = Api.sqlite3_column_name(Handle.get(), I))
            F.Name = Nome;
        if (const char* Declarado = Api.sqlite3_column_decltype(Handle.get(), I))
            F.DeclaredType = Minusculas(Declarado);
        F.DataType = TipoDeclarado(F.DeclaredType, BancoAtivo().UseDataTypes, F.Size);
        Campos->push_back(std::move(F));
    }
}

void TMkSqlStmt::fetchAll()
{
    Linhas.emplace();
    while (!Eof) {
        TsqlRow Linha;
        Linha.Valores.reserve(Campos->size());
        Linha.Classes.reserve(Campos->size());
        for (std::int32_t I = 0; I < fieldCount(); ++I) {
            std::int32_t Classe = 0;
            Linha.Valores.push_back(LeColuna(I, Classe));
            Linha.Classes.push_back(Classe);
        }
        Linhas->push_back(std::move(Linha));
        step();
    }
    Atual = 0;
    Eof = Linhas->empty();
}

void TMkSqlStmt::next()
{
    if (Eof)
        return;
    if (ServerCursor) {
        step();
        if (Eof && !Retain)
            closeCursor();
        return;
    }
    if (!Linhas || Linhas->empty()) {
        Eof = true;
        return;
    }
    ++Atual;
    Eof = Atual >= static_cast<std::int32_t>(Linhas->size());
}

void TMkSqlStmt::first()
{
    if (ServerCursor)
        LevantaErroSqlite("wrong cursor state");
    set_recno(1);
}

void TMkSqlStmt::bindParam(const TMkParam& Param, std::int32_t I)
{
    if (!Handle)
        return;
    sqlite3_stmt* H = Handle.get();
    const int Posicao = I + 1;
    if (Param.IsNull()) {
        Api.sqlite3_bind_null(H, Posicao);
        return;
    }
    const TMkVariant& V = Param.Value;
    switch (Param.DataType) {
    case ftUnknown:
        Api.sqlite3_bind_null(H, Posicao);
        return;
    case ftString:
    case ftMemo:
    case ftFixedChar:
    case ftWideString: {
        const std::string Texto = VarToStr(V);
        Api.sqlite3_bind_text(H, Posicao, Texto.data(), static_cast<int>(Texto.size()), SQLITE_TRANSIENT);
        return;
    }
    case ftLargeint:
        Api.sqlite3_bind_int64(H, Posicao, ComoInt64(V));
        return;
    case ftSmallint:
    case ftInteger:
    case ftWord:
        Api.sqlite3_bind_int(H, Posicao, VarToInt(V));
        return;
    case ftBoolean:
        Api.sqlite3_bind_int(H, Posicao, ComoBooleano(V) ? 1 : 0);
        return;
    case ftFloat:
    case ftCurrency:
    case ftBCD:
        Api.sqlite3_bind_double(H, Posicao, ComoDouble(V));
        return;
    case ftDate:
    case ftTime:
    case ftDateTime: {
        const std::string Texto = mkDateToStr(ComoDataHora(V));
        Api.sqlite3_bind_text(H, Posicao, Texto.data(), static_cast<int>(Texto.size()), SQLITE_TRANSIENT);
        return;
    }
    case ftBytes:
    case ftVarBytes:
    case ftBlob: {
        const auto* Bytes = std::get_if<TBytes>(&V);
        if (!Bytes)
            LevantaErroSqlite("invalid format for blob data");
        // A null pointer would bind NULL; an empty array is a blob of length 0.
        static const std::uint8_t Nenhum = 0;
        BancoAtivo().check(Api.sqlite3_bind_blob(H, Posicao, Bytes->empty() ? &Nenhum : Bytes->data(),
                                                 static_cast<int>(Bytes->size()), SQLITE_TRANSIENT));
        return;
    }
    case ftAutoInc:
    case ftGraphic:
    case ftFmtMemo:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
    case ftCursor:
    case ftADT:
    case ftArray:
    case ftReference:
    case ftDataSet:
    case ftOraBlob:
    case ftOraClob:
    case ftVariant:
    case ftInterface:
    case ftIDispatch:
    case ftGuid:
    case ftTimeStamp:
    case ftFMTBcd:
        break;
    }
    LevantaErroSqlite("unknown param type : " + std::to_string(static_cast<int>(Param.DataType)));
}

void TMkSqlStmt::bindParamByName(const TMkParam& Param)
{
    const int Posicao = Handle ? Api.sqlite3_bind_parameter_index(Handle.get(), Param.Name.c_str()) : 0;
    if (Posicao == 0)
        LevantaErroSqlite("parameter not found : " + Param.Name);
    bindParam(Param, Posicao - 1);
}

void TMkSqlStmt::bindParams(const TMkParams* Params)
{
    if (!Params)
        return;
    for (std::size_t I = 0; I < Params->size(); ++I)
        bindParam((*Params)[I], static_cast<std::int32_t>(I));
}

std::int32_t TMkSqlStmt::rowCount() const
{
    if (!ServerCursor && Active && Linhas && !Linhas->empty())
        return static_cast<std::int32_t>(Linhas->size());
    return -1;
}

std::int32_t TMkSqlStmt::get_recno() const
{
    return rowCount() < 0 ? -1 : Atual + 1;
}

void TMkSqlStmt::set_recno(std::int32_t N)
{
    Atual = N - 1;
    Eof = !Linhas || Atual < 0 || Atual >= static_cast<std::int32_t>(Linhas->size());
}

void TMkSqlStmt::open(const std::string& Sql, const TMkParams* Params)
{
    if (Active)
        LevantaErroSqlite("wrong active state");
    close();
    TMkSqlite& Db = BancoAtivo();
    sqlite3* Conexao = Db.getdb();
    const char* P = Sql.c_str();
    for (;;) {
        sqlite3_stmt* Novo = nullptr;
        const char* Resto = nullptr;
        const int Resultado = Api.sqlite3_prepare(Conexao, P, -1, &Novo, &Resto);
        Handle.reset(Novo);
        Db.check(Resultado);
        if (Handle) {
            bindParams(Params);
            step();
        } else {
            Eof = true;
        }
        if (!Resto)
            break;
        while (*Resto >= 1 && *Resto <= 32)
            ++Resto;
        if (*Resto == '\0')
            break;
        close();
        P = Resto;
    }
    if (!Handle)
        return;
    getColumns();
    Active = true;
    if (ServerCursor) {
        Db.CursoresServidor.push_back(this);
        return;
    }
    if (!Eof && fieldCount() > 0)
        fetchAll();
    closeCursor();
}

void TMkSqlStmt::closeCursor() noexcept
{
    if (!Handle)
        return;
    Handle.reset();
    if (ServerCursor && Banco)
        std::erase(Banco->CursoresServidor, this);
}

void TMkSqlStmt::close() noexcept
{
    closeCursor();
    Linhas.reset();
    Campos.reset();
    Eof = true;
    Active = false;
}

void TMkSqlStmt::reset()
{
    if (!ServerCursor)
        LevantaErroSqlite("wrong cursor state");
    if (!Active)
        LevantaErroSqlite("wrong active state");
    if (!Handle)
        LevantaErroSqlite("cursor closed");
    BancoAtivo().check(Api.sqlite3_reset(Handle.get()));
    Eof = false;
}

// ---------------------------------------------------------------------------------------------------

void TMkSqlite::FechaConexao::operator()(sqlite3* H) const noexcept
{
    Api.sqlite3_close(H);
}

TMkSqlite::TMkSqlite() = default;

TMkSqlite::~TMkSqlite()
{
    // A statement may outlive its database by mistake: it lets go of SQLite now and reports a closed
    // database from then on, rather than keeping the connection open or touching freed memory.
    for (TMkSqlStmt* Instrucao : Instrucoes) {
        Instrucao->closeCursor();
        Instrucao->Banco = nullptr;
    }
    Instrucoes.clear();
    CursoresServidor.clear();
    try {
        close();
    } catch (...) {
        // The deleter closes the connection; a destructor has no one to tell.
    }
}

std::string TMkSqlite::TextoErro(int Codigo) const
{
    return std::to_string(Codigo) + ':' + (Conexao ? Api.sqlite3_errmsg(Conexao.get()) : "");
}

void TMkSqlite::check(int Codigo) const
{
    if (Codigo != 0)
        LevantaErroSqlite(TextoErro(Codigo));
}

void TMkSqlite::checkactive() const
{
    if (!Active)
        LevantaErroSqlite("Database is closed");
}

sqlite3* TMkSqlite::getdb() const
{
    checkactive();
    return Conexao.get();
}

std::string TMkSqlite::version()
{
    CheckSqliteLoaded();
    const char* Versao = Api.sqlite3_libversion();
    return Versao ? Versao : "";
}

void TMkSqlite::open()
{
    CheckSqliteLoaded();
    close();
    const std::string Nome = dbName.empty() ? ":memory:" : dbName;
    sqlite3* Nova = nullptr;
    const int Resultado = Api.sqlite3_open(Nome.c_str(), &Nova);
    Conexao.reset(Nova);
    if (Resultado != 0) {
        // SQLite hands back a connection even when opening fails; its message goes before it does.
        const std::string Texto = TextoErro(Resultado);
        Conexao.reset();
        LevantaErroSqlite(Texto);
    }
    for (const auto& Extensao : Extensoes)
        if (!Extensao->Install())
            LevantaErroSqlite("Failed to add Extension " + Extensao->Name);
    Active = true;
    if (EmptyResultSetsValor)
        SetEmptyResultSets(true);
    if (FullColumnNamesValor)
        SetFullColumnNames(true);
    Api.sqlite3_busy_timeout(Conexao.get(), BusyRetryTimeoutValor);
}

void TMkSqlite::close()
{
    if (Conexao) {
        closeCursors();
        check(Api.sqlite3_close(Conexao.get()));
        (void)Conexao.release();
    }
    Active = false;
    Profundidade = 0;
}

void TMkSqlite::closeCursors() noexcept
{
    std::vector<TMkSqlStmt*> Lista;
    Lista.swap(CursoresServidor);
    for (auto I = Lista.rbegin(); I != Lista.rend(); ++I)
        (*I)->closeCursor();
}

void TMkSqlite::SetFullColumnNames(bool Valor)
{
    FullColumnNamesValor = Valor;
    if (Active)
        setPragma("full_column_names", Valor);
}

void TMkSqlite::SetEmptyResultSets(bool Valor)
{
    EmptyResultSetsValor = Valor;
    if (Active)
        setPragma("empty_result_callbacks", Valor);
}

void TMkSqlite::SetBusyTimeout(std::int32_t Ms)
{
    BusyRetryTimeoutValor = Ms;
    if (Active)
        Api.sqlite3_busy_timeout(Conexao.get(), Ms);
}

PMkSqlStmt TMkSqlite::createStmt()
{
    return std::make_shared<TMkSqlStmt>(*this);
}

PMkSqlStmt TMkSqlite::exec(const std::string& Sql, const TMkParams* Params)
{
    PMkSqlStmt Instrucao = createStmt();
    Instrucao->open(Sql, Params);
    return Instrucao;
}

PMkSqlStmt TMkSqlite::execV(const std::string& Sql, const std::vector<TMkVariant>& Valores)
{
    if (Valores.empty())
        return exec(Sql);
    TMkParams Params;
    for (const TMkVariant& V : Valores) {
        TMkParam P;
        P.Value = V;
        if (std::holds_alternative<std::int32_t>(V))
            P.DataType = ftInteger;
        else if (std::holds_alternative<double>(V))
            P.DataType = ftFloat;
        else if (std::holds_alternative<TDataHora>(V))
            P.DataType = ftDateTime;
        else if (std::holds_alternative<std::string>(V))
            P.DataType = ftString;
        else if (std::holds_alternative<TBytes>(V))
            P.DataType = ftBlob;
        Params.push_back(std::move(P));
    }
    return exec(Sql, &Params);
}

namespace {

struct TContextoExec {
    const TMkExecCallBack* CallBack;
    std::exception_ptr Erro;
};

// SQLite calls C; an exception of the callback waits here and is thrown again once SQLite is done.
int AdaptadorExec(void* Dados, int Colunas, char** Valores, char** Nomes)
{
    auto* Contexto = static_cast<TContextoExec*>(Dados);
    try {
        return (*Contexto->CallBack)(Colunas, Valores, Nomes);
    } catch (...) {
        Contexto->Erro = std::current_exception();
        return 1;
    }
}

} // namespace

int TMkSqlite::_exec(const std::string& Sql, const TMkExecCallBack* CallBack)
{
    sqlite3* Db = getdb();
    TContextoExec Contexto{CallBack, nullptr};
    const bool ComCallBack = CallBack && *CallBack;
    const auto Inicio = std::chrono::steady_clock::now();
    int Resultado = 0;
    do
        Resultado = Api.sqlite3_exec(Db, Sql.c_str(), ComCallBack ? AdaptadorExec : nullptr,
                                     ComCallBack ? &Contexto : nullptr, nullptr);
    while (!Contexto.Erro && (Resultado == SQLITE_BUSY || Resultado == SQLITE_LOCKED) &&
           PodeRepetir(StatementTimeout, Inicio, BusyRetryTimeoutValor));
    if (Contexto.Erro)
        std::rethrow_exception(Contexto.Erro);
    return Resultado;
}

void TMkSqlite::execCmd(const std::string& Sql)
{
    check(_exec(Sql));
}

std::int32_t TMkSqlite::changeCount() const
{
    return Api.sqlite3_changes(getdb());
}

std::int32_t TMkSqlite::totalChangeCount() const
{
    return Api.sqlite3_total_changes(getdb());
}

sqlite3_int64 TMkSqlite::LastInsertRowId() const
{
    return Api.sqlite3_last_insert_rowid(getdb());
}

void TMkSqlite::setPragma(const std::string& Nome, bool Ligado)
{
    execCmd("PRAGMA " + Nome + "=" + (Ligado ? "ON" : "OFF"));
}

void TMkSqlite::setPragmavalue(const std::string& Nome, std::int32_t Valor)
{
    execCmd("PRAGMA " + Nome + "=" + std::to_string(Valor));
}

std::int32_t TMkSqlite::getPragmaValue(const std::string& Nome)
{
    PMkSqlStmt Instrucao = exec("PRAGMA " + Nome);
    if (Instrucao->fieldCount() == 0)
        return -1;
    return VarToInt(Instrucao->get_value(0));
}

void TMkSqlite::checkIntegrity()
{
    PMkSqlStmt Instrucao = exec("PRAGMA integrity_check");
    if (Instrucao->fieldCount() == 0 || Instrucao->get_eof())
        LevantaErroSqlite("integrity check failed");
    const std::string Primeiro = VarToStr(Instrucao->get_value(0));
    if (Primeiro != "ok")
        LevantaErroSqlite(Primeiro);
}

PMkSqlStmt TMkSqlite::SchemaInfo()
{
    return exec("select * from sqlite_master order by tbl_name,name");
}

PMkSqlStmt TMkSqlite::SchemaTableInfo(const std::string& Tabela)
{
    return exec("PRAGMA table_info('" + Tabela + "')");
}

PMkSqlStmt TMkSqlite::SchemaIndexList(const std::string& Tabela)
{
    return exec("PRAGMA index_list('" + Tabela + "')");
}

PMkSqlStmt TMkSqlite::SchemaIndexInfo(const std::string& Indice)
{
    return exec("PRAGMA index_info('" + Indice + "')");
}

PMkSqlStmt TMkSqlite::SchemaForeignkeyInfo(const std::string& Tabela)
{
    return exec("PRAGMA foreign_key_list('" + Tabela + "')");
}

void TMkSqlite::beginTransaction()
{
    if (Profundidade == 0) {
        if (AutoCloseCursorsOnTrans)
            closeCursors();
        execCmd("begin");
    }
    ++Profundidade;
}

void TMkSqlite::Commit()
{
    if (Profundidade < 1)
        return;
    if (Profundidade == 1)
        execCmd("commit");
    --Profundidade;
}

void TMkSqlite::RollBack()
{
    if (Profundidade > 0) {
        // Whatever SQLite answers, no transaction of ours is open afterwards.
        Profundidade = 0;
        execCmd("rollback");
    }
}

void TMkSqlite::registerExtensions(std::vector<std::unique_ptr<TMkSqliteExtension>> Lista)
{
    for (auto& Extensao : Lista)
        Extensoes.push_back(std::move(Extensao));
}
