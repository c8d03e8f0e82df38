#include "db/MkSqLite3Stmt.h"

#include "db/MkSqLite3.h"
#include "platform/Ascii.h"

#include <chrono>
#include <cstdint>

namespace {

// SQLite makes its own copy of a value bound with this destructor.
const auto SQLITE_TRANSIENT = reinterpret_cast<void (*)(void*)>(static_cast<std::intptr_t>(-1));

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
            F.DeclaredType = MinusculasAscii(Declarado);
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
