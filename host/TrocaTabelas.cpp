#include "host/TrocaTabelas.h"

#include "config/TransHab.h"
#include "host/Planilha.h"
#include "host/Progresso.h"
#include "platform/Ascii.h"
#include "platform/Cp1252.h"

#include <algorithm>
#include <istream>
#include <ostream>
#include <unordered_map>

namespace {

constexpr const char* Todas = "Todas";

std::string NomeNoArquivo(const std::string& Codigo)
{
    return Codigo.empty() ? Todas : Codigo;
}

// The server's companies by their upper-cased codes.
class TIndiceEmpresas {
public:
    explicit TIndiceEmpresas(const std::vector<std::string>& Empresas)
    {
        for (const std::string& E : Empresas)
            Codigos.emplace(MaiusculasAscii(E), E);
    }
    /// The file code of a company a line names: "" for "Todas" (when it may be named), else the
    /// company as the server lists it.
    bool Procura(const std::string& Nome, bool AceitaTodas, std::string& Codigo) const
    {
        if (AceitaTodas && IguaisSemCaixa(Nome, Todas)) {
            Codigo.clear();
            return true;
        }
        const auto I = Codigos.find(MaiusculasAscii(Nome));
        if (I == Codigos.end())
            return false;
        Codigo = I->second;
        return true;
    }

private:
    std::unordered_map<std::string, std::string> Codigos;
};

// The lines of an import file, with their numbers; refusals gathered as "FILE:LINE: reason".
class TLeitura {
public:
    TLeitura(std::istream& Entrada, const std::string& Nome, bool Utf8) : Entrada(Entrada), Nome(Nome), Utf8(Utf8) {}

    /// The next line that holds something, split into fields; false at the end.
    bool Proxima(std::vector<std::string>& Campos)
    {
        std::string Linha, Erro;
        while (std::getline(Entrada, Linha)) {
            ++Numero;
            if (!Linha.empty() && Linha.back() == '\r')
                Linha.pop_back();
            if (Linha.find_first_not_of(" \t") == std::string::npos)
                continue;
            if (Linha.find('\0') != std::string::npos)
                Recusa(Numero, "the line holds a NUL byte");
            else if (!SeparaLinhaPlanilha(Linha, Campos, Erro))
                Recusa(Numero, Erro);
            else
                return true;
        }
        return false;
    }
    void Recusa(int Linha, const std::string& Motivo)
    {
        Recusas.emplace_back(Linha, Motivo);
    }
    int Linha() const { return Numero; }
    /// Reports every refusal in line order; true when there was none.
    bool Relata(std::ostream& Relato)
    {
        std::stable_sort(Recusas.begin(), Recusas.end(),
                         [](const auto& A, const auto& B) { return A.first < B.first; });
        for (const auto& [L, Motivo] : Recusas)
            Relato << Nome << ':' << L << ": " << (Utf8 ? Cp1252ParaUtf8(Motivo) : Motivo) << '\n';
        std::size_t Linhas = 0;
        for (std::size_t I = 0; I < Recusas.size(); ++I)
            Linhas += I == 0 || Recusas[I].first != Recusas[I - 1].first ? 1 : 0;
        if (Linhas > 0)
            Relato << Nome << ": " << Linhas << (Linhas == 1 ? " line breaks" : " lines break")
                   << " the rules; nothing was written\n";
        return Recusas.empty();
    }

private:
    std::istream& Entrada;
    std::string Nome;
    bool Utf8;
    int Numero = 0;
    std::vector<std::pair<int, std::string>> Recusas;
};

std::string Para(const TContextoTroca& C, const std::string& Texto)
{
    return C.Utf8 ? Cp1252ParaUtf8(Texto) : Texto;
}

bool Flag(const std::string& Campo, bool& Valor)
{
    if (Campo != "0" && Campo != "1")
        return false;
    Valor = Campo == "1";
    return true;
}

// What replacing the old rows with the new ones does, row by row.
std::string Diferencas(const std::vector<TLinhaBins>& Antes, const std::vector<TLinhaBins>& Depois)
{
    std::size_t Mudadas = 0;
    for (std::size_t I = 0; I < std::min(Antes.size(), Depois.size()); ++I)
        Mudadas += Antes[I] == Depois[I] ? 0 : 1;
    const std::size_t Novas = Depois.size() > Antes.size() ? Depois.size() - Antes.size() : 0;
    const std::size_t Removidas = Antes.size() > Depois.size() ? Antes.size() - Depois.size() : 0;
    if (Novas + Removidas + Mudadas == 0)
        return "unchanged";
    return std::to_string(Novas) + " added, " + std::to_string(Removidas) + " removed, " + std::to_string(Mudadas) +
           " changed";
}

struct TTabelasImportadas {
    std::string Codigo;
    TTabelasBins Tabelas;
    bool Nomeada[2] = {};
    std::vector<int> Linhas[2];  // the line of each row
};

int Conclui(std::ostream& Relato, const std::string& Lidas, std::size_t Escritas, std::size_t Iguais,
            std::size_t Falhas, bool Simulacao)
{
    if (Simulacao)
        Relato << Lidas << ": " << Escritas << " would change, " << Iguais << " unchanged; nothing was written\n";
    else
        Relato << Lidas << ": " << Escritas << " written, " << Iguais << " unchanged, " << Falhas << " failed\n";
    return Falhas > 0 ? 2 : 0;
}

std::string Lidas(int Linhas, std::size_t Empresas, const char* Oque)
{
    return "read " + std::to_string(Linhas) + (Linhas == 1 ? " line" : " lines") + " (" + Oque + " of " +
           std::to_string(Empresas) + (Empresas == 1 ? " company)" : " companies)");
}

} // namespace

std::size_t ExportaBins(const TContextoTroca& C, const std::vector<std::string>& Quais, std::ostream& Saida)
{
    std::size_t Linhas = 0;
    TProgresso Progresso(Quais.size(), "bins export");
    for (const std::string& Codigo : Quais) {
        Progresso.Avanca();
        const TCargaBins Carga = CarregaTabelasBins(C.Raiz, Codigo);
        if (!Carga.Guardadas)
            continue;
        for (int T = 0; T < 2; ++T) {
            const std::string Empresa = NomeNoArquivo(Codigo), Tabela = RegrasBins::NomeTabela(T);
            const std::vector<TLinhaBins>& DaTabela = Carga.Tabelas.Linhas[T];
            if (DaTabela.empty()) {
                Saida << Para(C, MontaLinhaPlanilha({Empresa, Tabela, "", "", ""})) << '\n';
                ++Linhas;
            }
            for (const TLinhaBins& L : DaTabela) {
                std::string Entradas;
                for (const std::string& E : RegrasBins::EntradasDaLista(L.Bins))
                    Entradas += (Entradas.empty() ? "" : " ") + E;
                Saida << Para(C, MontaLinhaPlanilha({Empresa, Tabela, L.Nome, Entradas, L.Senha ? "1" : "0"})) << '\n';
                ++Linhas;
            }
        }
    }
    return Linhas;
}

int ImportaBins(const TContextoTroca& C, std::istream& Entrada, const std::string& Nome, std::ostream& Relato)
{
    const TIndiceEmpresas Indice(C.Empresas);
    TLeitura Leitura(Entrada, Nome, C.Utf8);
    std::vector<TTabelasImportadas> Importadas;
    std::unordered_map<std::string, std::size_t> Posicao;
    std::vector<std::string> Campos;
    while (Leitura.Proxima(Campos)) {
        const int L = Leitura.Linha();
        if (L == 1 && Campos.size() == 5 && IguaisSemCaixa(MontaLinhaPlanilha(Campos), "company;table;name;bins;pin"))
            continue;
        if (Campos.size() != 5) {
            Leitura.Recusa(L, "expected 5 fields (company;table;name;bins;pin), found " + std::to_string(Campos.size()));
            continue;
        }
        std::string Codigo;
        if (!Indice.Procura(Campos[0], true, Codigo)) {
            Leitura.Recusa(L, "company " + Campos[0] + " is not a company of this server (nor Todas)");
            continue;
        }
        int T = -1;
        for (int I = 0; I < 2; ++I)
            if (IguaisSemCaixa(Campos[1], RegrasBins::NomeTabela(I)))
                T = I;
        if (T < 0) {
            Leitura.Recusa(L, "table " + Campos[1] + " is neither debito nor combustivel");
            continue;
        }
        const auto [Onde, Nova] = Posicao.emplace(Codigo, Importadas.size());
        if (Nova)
            Importadas.push_back({Codigo, {}, {}, {}});
        TTabelasImportadas& Imp = Importadas[Onde->second];
        Imp.Nomeada[T] = true;
        if (Campos[2].empty() && Campos[3].empty() && Campos[4].empty())
            continue;  // the table named, without rows
        // The name as the file gives it back: blanks around a value are not kept.
        TLinhaBins Linha{std::string(AparaBrancos(Campos[2])), {}, false};
        if (!Flag(Campos[4], Linha.Senha)) {
            Leitura.Recusa(L, "pin " + Campos[4] + " is neither 1 nor 0");
            continue;
        }
        std::vector<std::string> Entradas;
        for (std::size_t I = 0; (I = Campos[3].find_first_not_of(" \t", I)) != std::string::npos;) {
            const std::size_t Fim = std::min(Campos[3].find_first_of(" \t", I), Campos[3].size());
            Entradas.push_back(Campos[3].substr(I, Fim - I));
            I = Fim;
        }
        Linha.Bins = RegrasBins::MontaLista(std::move(Entradas));
        Imp.Tabelas.Linhas[T].push_back(std::move(Linha));
        Imp.Linhas[T].push_back(L);
    }
    for (const TTabelasImportadas& Imp : Importadas)
        for (int T = 0; T < 2; ++T)
            for (const TFalhaBins& F : RegrasBins::VerificaTabela(Imp.Tabelas.Linhas[T]))
                Leitura.Recusa(Imp.Linhas[T][F.Linha],
                               RegrasBins::Mensagem(F.Erro) + (F.Detalhe.empty() ? "" : " (" + F.Detalhe + ")"));
    const int Total = Leitura.Linha();
    if (!Leitura.Relata(Relato))
        return 2;

    std::size_t Escritas = 0, Iguais = 0, Falhas = 0;
    TProgresso Progresso(Importadas.size(), C.Simulacao ? "bins import --dry-run" : "bins import");
    for (const TTabelasImportadas& Imp : Importadas) {
        Progresso.Avanca();
        TArquivoBins Arquivo(C.Raiz, Imp.Codigo);
        const TCargaBins& Carga = Arquivo.Carga();
        TTabelasBins Novas = Carga.Tabelas;
        for (int T = 0; T < 2; ++T)
            if (Imp.Nomeada[T])
                Novas.Linhas[T] = Imp.Tabelas.Linhas[T];
        // A stored count the load had to correct is written again even when the rows stay.
        const bool Corrige = Carga.TotalInvalido[0] || Carga.TotalInvalido[1] || Carga.TotalExcedente[0] ||
                             Carga.TotalExcedente[1];
        if (Novas == Carga.Tabelas && !Corrige) {
            ++Iguais;
            continue;
        }
        ++Escritas;
        if (C.Simulacao) {
            Relato << NomeNoArquivo(Imp.Codigo) << ": debito " << Diferencas(Carga.Tabelas.Linhas[0], Novas.Linhas[0])
                   << "; combustivel " << Diferencas(Carga.Tabelas.Linhas[1], Novas.Linhas[1]) << '\n';
            continue;
        }
        if (!Arquivo.Salva(Novas, C.Auditoria(Imp.Codigo), C.Titulos)) {
            Relato << "cfkovan-dados: company " << NomeNoArquivo(Imp.Codigo)
                   << ": its BIN tables could not be written (see the audit log for why)" << C.Recusa(Imp.Codigo)
                   << '\n';
            --Escritas;
            ++Falhas;
        }
    }
    return Conclui(Relato, Lidas(Total, Importadas.size(), "the tables"), Escritas, Iguais, Falhas, C.Simulacao);
}

std::size_t ExportaTransHab(const TContextoTroca& C, const std::vector<std::string>& Quais, std::ostream& Saida)
{
    std::size_t Linhas = 0;
    TProgresso Progresso(Quais.size(), "transacoes export");
    for (const std::string& Codigo : Quais) {
        Progresso.Avanca();
        const TCargaTransHab Carga = CarregaTransHab(C.Raiz, Codigo);
        if (!Carga.Configurada)
            continue;
        const TTransHab& V = Carga.Valores;
        Saida << Para(C, MontaLinhaPlanilha({Codigo, V.DebitoVista ? "1" : "0",
                                              V.ParceladoJurosEstabelecimento ? "1" : "0", V.Cancelamento ? "1" : "0",
                                              V.NumeroParcelas}))
              << '\n';
        ++Linhas;
    }
    return Linhas;
}

int ImportaTransHab(const TContextoTroca& C, std::istream& Entrada, const std::string& Nome, std::ostream& Relato)
{
    const TIndiceEmpresas Indice(C.Empresas);
    TLeitura Leitura(Entrada, Nome, C.Utf8);
    std::vector<std::pair<std::string, TTransHab>> Importadas;
    std::unordered_map<std::string, int> LinhaDe;
    std::vector<std::string> Campos;
    while (Leitura.Proxima(Campos)) {
        const int L = Leitura.Linha();
        if (L == 1 && Campos.size() == 5 &&
            IguaisSemCaixa(MontaLinhaPlanilha(Campos), "company;vista;parcelado;cancelamento;parcelas"))
            continue;
        if (Campos.size() != 5) {
            Leitura.Recusa(L, "expected 5 fields (company;vista;parcelado;cancelamento;parcelas), found " +
                                  std::to_string(Campos.size()));
            continue;
        }
        std::string Codigo;
        if (!Indice.Procura(Campos[0], false, Codigo)) {
            Leitura.Recusa(L, "company " + Campos[0] + " is not a company of this server");
            continue;
        }
        if (const auto [Antes, Nova] = LinhaDe.emplace(Codigo, L); !Nova) {
            Leitura.Recusa(L, "company " + Campos[0] + " was already given on line " + std::to_string(Antes->second));
            continue;
        }
        TTransHab V;
        V.NumeroParcelas = Campos[4];
        const char* Nomes[3] = {"vista", "parcelado", "cancelamento"};
        bool* Destinos[3] = {&V.DebitoVista, &V.ParceladoJurosEstabelecimento, &V.Cancelamento};
        bool Ok = true;
        for (int I = 0; I < 3 && Ok; ++I)
            if (!(Ok = Flag(Campos[1 + I], *Destinos[I])))
                Leitura.Recusa(L, std::string(Nomes[I]) + " " + Campos[1 + I] + " is neither 1 nor 0");
        if (!Ok)
            continue;
        if (const auto Erro = RegrasTransHab::Valida(V, V.ParceladoJurosEstabelecimento)) {
            Leitura.Recusa(L, RegrasTransHab::Mensagem(*Erro) + " (" + V.NumeroParcelas + ")");
            continue;
        }
        Importadas.emplace_back(Codigo, V);
    }
    const int Total = Leitura.Linha();
    if (!Leitura.Relata(Relato))
        return 2;

    std::size_t Escritas = 0, Iguais = 0, Falhas = 0;
    TProgresso Progresso(Importadas.size(), C.Simulacao ? "transacoes import --dry-run" : "transacoes import");
    for (const auto& [Codigo, V] : Importadas) {
        Progresso.Avanca();
        const TCargaTransHab Carga = CarregaTransHab(C.Raiz, Codigo);
        if (Carga.Configurada && Carga.Valores == V) {
            ++Iguais;
            continue;
        }
        ++Escritas;
        if (C.Simulacao) {
            auto Mostra = [](const TTransHab& T) {
                return std::string(T.DebitoVista ? "1" : "0") + ";" + (T.ParceladoJurosEstabelecimento ? "1" : "0") +
                       ";" + (T.Cancelamento ? "1" : "0") + ";" + T.NumeroParcelas;
            };
            Relato << Codigo << ": " << (Carga.Configurada ? Mostra(Carga.Valores) : std::string("not configured"))
                   << " -> " << Mostra(V) << '\n';
            continue;
        }
        if (!SalvaTransHab(C.Raiz, Codigo, V, C.Auditoria(Codigo))) {
            Relato << "cfkovan-dados: company " << Codigo
                   << ": its enabled transactions could not be written (see the audit log for why)"
                   << C.Recusa(Codigo) << '\n';
            --Escritas;
            ++Falhas;
        }
    }
    return Conclui(Relato, Lidas(Total, Importadas.size(), "the transactions"), Escritas, Iguais, Falhas,
                   C.Simulacao);
}
