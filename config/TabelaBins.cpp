#include "config/TabelaBins.h"

#include "config/Kovan_INI.h"
#include "platform/Ascii.h"
#include "platform/Cp1252.h"

#include <algorithm>
#include <charconv>
#include <unordered_set>

namespace {

constexpr const char* SecaoTotais = "TabBins";
constexpr const char* MarcaSenha = "      X";
constexpr const char* Prefixos[2] = {"Debito_", "Combustivel_"};

// The number of a row section: two digits at least. Answers the end of the digits.
char* DigitosDaLinha(long long Numero, char (&Digitos)[24])
{
    char* Fim = Digitos;
    if (Numero >= 0 && Numero < 10)
        *Fim++ = '0';
    return std::to_chars(Fim, Digitos + sizeof Digitos, Numero).ptr;
}

// A padded bound's value; the leading digits of a text that is not a number, as the screen reads it.
long long Valor(const std::string& Texto)
{
    long long V = 0;
    std::from_chars(Texto.data(), Texto.data() + Texto.size(), V);
    return V;
}

struct TLimites {
    long long Inferior, Superior;
};

TLimites Limites(const std::string& Entrada)
{
    const std::size_t Traco = Entrada.find('-');
    const std::string Baixo = Traco == std::string::npos ? Entrada : Entrada.substr(0, Traco);
    const std::string Alto = Traco == std::string::npos ? Entrada : Entrada.substr(Traco + 1);
    return {Valor(RegrasBins::CompletaBin(Baixo, 0)), Valor(RegrasBins::CompletaBin(Alto, 9))};
}

bool Dentro(long long V, const TLimites& L)
{
    return V >= L.Inferior && V <= L.Superior;
}

bool BinValido(std::string_view Bin)
{
    return Bin.size() >= 6 && Bin.size() <= 9 && Bin.find_first_not_of("0123456789") == std::string_view::npos;
}

// Removes the row sections Primeira..Ultima of a table (from Primeira on, when the stored count was not
// a number). A short range is erased by name, as the rows were written; otherwise only sections that
// exist are visited, so a count far above the real rows costs nothing.
void RemoveLinhas(TKovanIni& Ini, int Tabela, long long Primeira, std::optional<long long> Ultima)
{
    constexpr long long FaixaCurta = 4096;
    if (Ultima && *Ultima < Primeira + FaixaCurta) {
        for (long long K = std::max(Primeira, 0LL); K <= *Ultima; ++K)
            Ini.RemoveSec(RegrasBins::SecaoDaLinha(Tabela, K));
        return;
    }
    std::vector<std::string> Secoes;
    Ini.LeSecs(Secoes);
    for (const std::string& Secao : Secoes) {
        const std::optional<long long> K = RegrasBins::LinhaDaSecao(Tabela, Secao);
        if (K && *K >= Primeira && (!Ultima || *K <= *Ultima))
            Ini.RemoveSec(Secao);
    }
}

} // namespace

namespace RegrasBins {

std::string CompletaBin(const std::string& Bin, int Digito)
{
    std::string Completo = Bin;
    while (Completo.size() < 9)
        Completo += static_cast<char>('0' + Digito);
    return Completo;
}

bool ComparaBin(const std::string& Primeiro, const std::string& Segundo)
{
    const TLimites A = Limites(Primeiro), B = Limites(Segundo);
    return Dentro(A.Inferior, B) || Dentro(A.Superior, B) || Dentro(B.Inferior, A) || Dentro(B.Superior, A);
}

std::optional<TErroBins> ValidaEntrada(std::string_view Entrada)
{
    const std::size_t Traco = Entrada.find('-');
    if (Traco == std::string_view::npos)
        return BinValido(Entrada) ? std::nullopt : std::optional(TErroBins::TamanhoInvalido);
    const std::string_view Inferior = Entrada.substr(0, Traco), Superior = Entrada.substr(Traco + 1);
    if (!BinValido(Inferior) || !BinValido(Superior))
        return TErroBins::TamanhoInvalido;
    if (Valor(std::string(Superior)) < Valor(std::string(Inferior)))
        return TErroBins::SuperiorMenor;
    return std::nullopt;
}

std::vector<std::string> EntradasDaLista(std::string_view Lista, bool* Completa)
{
    std::vector<std::string> Entradas;
    bool Ok = true;
    std::size_t Inicio = 0;
    while (Inicio < Lista.size()) {
        const std::size_t Fim = Lista.find(';', Inicio);
        if (Fim == std::string_view::npos || Fim == Inicio)
            Ok = false;
        Entradas.emplace_back(Lista.substr(Inicio, Fim == std::string_view::npos ? Fim : Fim - Inicio));
        if (Fim == std::string_view::npos)
            break;
        Inicio = Fim + 1;
    }
    if (Completa)
        *Completa = Ok;
    return Entradas;
}

std::string MontaLista(std::vector<std::string> Entradas)
{
    std::sort(Entradas.begin(), Entradas.end());
    std::string Lista;
    for (const std::string& E : Entradas)
        Lista.append(E) += ';';
    return Lista;
}

std::vector<TFalhaBins> VerificaTabela(const std::vector<TLinhaBins>& Linhas)
{
    std::vector<TFalhaBins> Falhas;
    std::unordered_set<std::string> Nomes;
    for (std::size_t I = 0; I < Linhas.size(); ++I) {
        const TLinhaBins& L = Linhas[I];
        const std::string Nome = MaiusculasAscii(Apara(L.Nome));
        if (Nome.empty())
            Falhas.push_back({I, TErroBins::SemNome, L.Nome});
        else if (!Nomes.insert(Nome).second)
            Falhas.push_back({I, TErroBins::NomeExistente, L.Nome});
        if (L.Nome.size() > MaximoNome)
            Falhas.push_back({I, TErroBins::NomeLongo, L.Nome});
        bool Completa = true;
        const std::vector<std::string> Entradas = EntradasDaLista(L.Bins, &Completa);
        if (!Completa)
            Falhas.push_back({I, TErroBins::ListaMalFormada, L.Bins});
        if (Entradas.empty())
            Falhas.push_back({I, TErroBins::SemBin, {}});
        if (L.Bins.size() > MaximoLista)
            Falhas.push_back({I, TErroBins::ListaCheia, std::to_string(L.Bins.size()) + " characters"});
        for (std::size_t E = 0; E < Entradas.size(); ++E) {
            if (Entradas[E].empty())
                continue;
            if (const std::optional<TErroBins> Erro = ValidaEntrada(Entradas[E])) {
                Falhas.push_back({I, *Erro, Entradas[E]});
                continue;
            }
            for (std::size_t A = 0; A < E; ++A)
                if (!ValidaEntrada(Entradas[A]) && ComparaBin(Entradas[E], Entradas[A])) {
                    Falhas.push_back({I, TErroBins::BinExistente, Entradas[A] + " " + Entradas[E]});
                    break;
                }
        }
    }
    return Falhas;
}

const std::string& Mensagem(TErroBins Erro)
{
    static const std::string Textos[] = {
        Utf8ParaCp1252("Tamanho inválido do bin. No mínimo 6 e no máximo 9 dígitos"),
        Utf8ParaCp1252("Tamanho inválido: Bin superior menor que Bin inferior"),
        Utf8ParaCp1252("Bin(s) já existente(s)"),
        Utf8ParaCp1252("A lista de Bins ficaria com mais de 255 caracteres. Cadastre os demais Bins em outra linha."),
        "Lista de Bins mal formada: cada Bin deve terminar em \";\"",
        "Digite um Nome para o(s) Bin(s).",
        Utf8ParaCp1252("Nome já existente."),
        Utf8ParaCp1252("Nome do Cartão com mais de 21 caracteres."),
        "Digite um Bin!",
    };
    return Textos[static_cast<int>(Erro)];
}

std::optional<long long> LeQuantidade(std::string_view Texto)
{
    std::string Numero = Apara(Texto);
    if (!Numero.empty() && Numero[0] == '+')
        Numero.erase(0, 1);
    long long V = 0;
    const auto [Fim, Erro] = std::from_chars(Numero.data(), Numero.data() + Numero.size(), V);
    if (Numero.empty() || Erro != std::errc() || Fim != Numero.data() + Numero.size())
        return std::nullopt;
    return V;
}

std::string SecaoDaLinha(int Tabela, long long Numero)
{
    char Digitos[24];
    return std::string(Prefixos[Tabela]).append(Digitos, DigitosDaLinha(Numero, Digitos));
}

std::optional<long long> LinhaDaSecao(int Tabela, std::string_view Secao)
{
    const std::string_view Prefixo = Prefixos[Tabela];
    if (Secao.size() <= Prefixo.size() || !IguaisSemCaixa(Secao.substr(0, Prefixo.size()), Prefixo))
        return std::nullopt;
    const std::string_view Numero = Secao.substr(Prefixo.size());
    long long K = 0;
    const auto [Fim, Erro] = std::from_chars(Numero.data(), Numero.data() + Numero.size(), K);
    if (Erro != std::errc() || Fim != Numero.data() + Numero.size())
        return std::nullopt;
    char Digitos[24];
    if (Numero != std::string_view(Digitos, DigitosDaLinha(K, Digitos)))
        return std::nullopt;
    return K;
}

const char* ChaveTotal(int Tabela)
{
    return Tabela == TabelaDebito ? "TotDeb" : "TotComb";
}

const char* NomeTabela(int Tabela)
{
    return Tabela == TabelaDebito ? "debito" : "combustivel";
}

const std::string& NomeNaTela(int Tabela)
{
    static const std::string Nomes[2] = {Utf8ParaCp1252("Débito"), Utf8ParaCp1252("Combustível")};
    return Nomes[Tabela];
}

std::string MontaLog(const std::string& Operacao, int Tabela, const std::vector<TLinhaBins>& Linhas,
                     const TTitulosBins& Titulos)
{
    static const std::string NomesLog[2] = {"Debito", Utf8ParaCp1252("Combustível")};
    std::string Linha = "Mirabelo/Range/Geral - " + NomesLog[Tabela];
    if (MaiusculasAscii(Operacao) != "INCLUSAO")
        return Linha + Utf8ParaCp1252(" - Opção Exclusão");
    // Per cell: its untrimmed text, or for an empty one (or an "X") its column's title with ":1" for
    // an "X" and ":0" otherwise. The PIN cell holds "      X" or nothing.
    const std::string* TitulosColunas[3] = {&Titulos.Nome, &Titulos.Bins, &Titulos.Senha};
    Linha.reserve(Linha.size() + 16 + Linhas.size() * 64);
    Linha += "\r\nBins : ";
    char Numero[16];
    for (std::size_t R = 0; R < Linhas.size(); ++R) {
        Linha.append("Lin").append(Numero, std::to_chars(Numero, Numero + sizeof Numero, R + 1).ptr) += '(';
        const std::string_view Celulas[3] = {Linhas[R].Nome, Linhas[R].Bins, Linhas[R].Senha ? MarcaSenha : ""};
        for (int C = 0; C < 3; ++C) {
            if (C > 0)
                Linha += '/';
            const std::string_view Aparada = AparaSe(Celulas[C], [](char Ch) { return BrancoOuControle(Ch); });
            if (!Aparada.empty() && Aparada != "X")
                Linha += Celulas[C];
            else
                Linha.append(*TitulosColunas[C]).append(Aparada == "X" ? ":1" : ":0");
        }
        Linha += "); ";
    }
    return Linha;
}

} // namespace RegrasBins

TArquivoBins::TArquivoBins(const std::string& Raiz, const std::string& Empresa) noexcept
{
    try {
        Ini = std::make_unique<TKovanIni>(Raiz, "Mirabelo", Empresa);
        FCarga.Existe = Ini->ExistiaAoCriar();
        FCarga.Total[0] = FCarga.Total[1] = "0";
        // One parse for every key of both tables, and for the save's reads and writes.
        Lote = Ini->IniciaLote();
        if (!FCarga.Existe)
            return;
        std::vector<std::string> Secoes;
        Ini->LeSecs(Secoes);
        for (const std::string& Secao : Secoes)
            FCarga.Guardadas = FCarga.Guardadas || IguaisSemCaixa(Secao, SecaoTotais) ||
                               RegrasBins::LinhaDaSecao(TabelaDebito, Secao) ||
                               RegrasBins::LinhaDaSecao(TabelaCombustivel, Secao);
        for (int T = 0; T < 2; ++T) {
            FCarga.Total[T] = Ini->LeVar(SecaoTotais, RegrasBins::ChaveTotal(T), "0");
            std::optional<long long> N = RegrasBins::LeQuantidade(FCarga.Total[T]);
            if (!N) {
                FCarga.TotalInvalido[T] = true;
                continue;
            }
            // Rows past the table's last section would be blank; a count far beyond them (edited by
            // hand, or damaged) must not make anyone hold millions of rows.
            long long Ultima = 0;
            for (const std::string& Secao : Secoes)
                Ultima = std::max(Ultima, RegrasBins::LinhaDaSecao(T, Secao).value_or(0));
            if (*N > Ultima) {
                FCarga.TotalExcedente[T] = true;
                N = Ultima;
            }
            std::vector<TLinhaBins>& Linhas = FCarga.Tabelas.Linhas[T];
            Linhas.reserve(static_cast<std::size_t>(std::max(*N, 0LL)));
            for (long long I = 1; I <= *N; ++I) {
                const std::string Secao = RegrasBins::SecaoDaLinha(T, I);
                Linhas.push_back({Ini->LeVar(Secao, "Nome", ""), Ini->LeVar(Secao, "Bins", ""),
                                  Ini->LeVar(Secao, "Senha", "") == "1"});
            }
        }
    } catch (...) {
    }
}

TArquivoBins::~TArquivoBins() = default;

bool TArquivoBins::Salva(const TTabelasBins& Tabelas, const TAuditoria& Auditoria, const TTitulosBins& Titulos) noexcept
{
    try {
        if (!Ini || !Lote)
            return false;
        // Stale rows of a shorter table go; the new last row's section goes too and is written again.
        if (FCarga.Existe)
            for (int T = 0; T < 2; ++T)
                RemoveLinhas(*Ini, T, static_cast<long long>(Tabelas.Linhas[T].size()),
                             RegrasBins::LeQuantidade(Ini->LeVar(SecaoTotais, RegrasBins::ChaveTotal(T), "0")));
        for (int T = 0; T < 2; ++T) {
            const std::vector<TLinhaBins>& Linhas = Tabelas.Linhas[T];
            if (Auditoria)
                Auditoria(RegrasBins::MontaLog("INCLUSAO", T, Linhas, Titulos));
            for (std::size_t I = 0; I < Linhas.size(); ++I) {
                const std::string Secao = RegrasBins::SecaoDaLinha(T, static_cast<long long>(I + 1));
                Ini->GravaVar(Secao, "Nome", Linhas[I].Nome);
                Ini->GravaVar(Secao, "Bins", Linhas[I].Bins);
                Ini->GravaVar(Secao, "Senha", Linhas[I].Senha ? "1" : "0");
            }
            Ini->GravaVar(SecaoTotais, RegrasBins::ChaveTotal(T), std::to_string(Linhas.size()));
        }
        Lote = false;
        return Ini->ConfirmaLote();
    } catch (...) {
        return false;
    }
}

TCargaBins CarregaTabelasBins(const std::string& Raiz, const std::string& Empresa) noexcept
{
    try {
        return TArquivoBins(Raiz, Empresa).Carga();
    } catch (...) {
        return {};
    }
}

bool SalvaTabelasBins(const std::string& Raiz, const std::string& Empresa, const TTabelasBins& Tabelas,
                      const TAuditoria& Auditoria, const TTitulosBins& Titulos) noexcept
{
    return TArquivoBins(Raiz, Empresa).Salva(Tabelas, Auditoria, Titulos);
}

bool ApagaTabelasBins(const std::string& Raiz, const std::string& Empresa, const TAuditoria& Auditoria) noexcept
{
    try {
        if (Auditoria)
            for (int T = 0; T < 2; ++T)
                Auditoria(RegrasBins::MontaLog("EXCLUSAO", T, {}));
        TKovanIni Ini(Raiz, "Mirabelo", Empresa);
        if (!Ini.Existe())
            return true;
        if (!Ini.IniciaLote())
            return false;
        Ini.RemoveSec(SecaoTotais);
        for (int T = 0; T < 2; ++T)
            RemoveLinhas(Ini, T, 0, std::nullopt);
        return Ini.ConfirmaLote();
    } catch (...) {
        return false;
    }
}
