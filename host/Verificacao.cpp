#include "host/Verificacao.h"

#include "config/Lib.h"
#include "config/TabelaBins.h"
#include "config/TransHab.h"
#include "host/Progresso.h"
#include "platform/Ascii.h"
#include "platform/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <deque>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace {

bool TerminaCom(std::string_view Texto, std::string_view Fim)
{
    return Texto.size() >= Fim.size() && IguaisSemCaixa(Texto.substr(Texto.size() - Fim.size()), Fim);
}

// Leftovers of an atomic replace: ".<name>.tmp" beside the file (older writers added their process).
bool EhTemporario(std::string_view Nome)
{
    return Nome.size() > 5 && Nome[0] == '.' && TerminaCom(Nome, ".tmp");
}

struct TEntrada {
    std::string Nome;
    bool Pasta;
};

std::vector<TEntrada> Lista(const std::string& Pasta, bool& Ok)
{
    std::vector<TEntrada> Entradas;
    DIR* D = opendir(Pasta.c_str());
    Ok = D != nullptr;
    if (!D)
        return Entradas;
    while (const dirent* E = readdir(D)) {
        const std::string Nome = E->d_name;
        if (Nome == "." || Nome == "..")
            continue;
        bool Pasta_ = E->d_type == DT_DIR;
        if (E->d_type == DT_UNKNOWN || E->d_type == DT_LNK) {
            struct stat St {};
            Pasta_ = stat((Pasta + "/" + Nome).c_str(), &St) == 0 && S_ISDIR(St.st_mode);
        }
        Entradas.push_back({Nome, Pasta_});
    }
    closedir(D);
    return Entradas;
}

bool LeArquivo(const std::string& Caminho, std::string& Dados, int& Erro)
{
    const int F = open(Caminho.c_str(), O_RDONLY | O_CLOEXEC);
    if (F < 0) {
        Erro = errno;
        return false;
    }
    Dados.clear();
    char Bloco[16384];
    for (;;) {
        const ssize_t N = read(F, Bloco, sizeof Bloco);
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0) {
            Erro = N < 0 ? errno : 0;
            close(F);
            return N == 0;
        }
        Dados.append(Bloco, static_cast<std::size_t>(N));
    }
}

// A settings file as the profile functions read it: the first section of a name, the first key of a
// name in it, names and values without blanks around, a value without one pair of enclosing quotes.
// The bytes are read once for the encoding checks, so they are parsed here instead of read again;
// names and values stay views into those bytes.
class TIniLido {
public:
    explicit TIniLido(std::string_view Texto)
    {
        TSecao* Atual = nullptr;
        std::size_t Inicio = 0;
        while (Inicio < Texto.size()) {
            std::size_t Fim = Texto.find('\n', Inicio);
            if (Fim == std::string_view::npos)
                Fim = Texto.size();
            std::string_view Linha = Texto.substr(Inicio, Fim - Inicio);
            Inicio = Fim + 1;
            Linha = Linha.substr(0, Linha.find('\0'));
            Linha = AparaSe(Linha, [](char C) { return C == ' ' || C == '\t' || C == '\r'; });
            if (Linha.empty())
                continue;
            if (const std::size_t Fecha = Linha.rfind(']'); Linha.front() == '[' && Fecha != std::string_view::npos && Fecha > 0) {
                const std::string_view Nome = AparaBrancos(Linha.substr(1, Fecha - 1));
                NomesSecoes.push_back(Nome);
                const auto [I, Nova] = Indice.try_emplace(MinusculasAscii(std::string(Nome)), Secoes.size());
                Atual = Nova ? &Secoes.emplace_back(TSecao{Nome, {}}) : nullptr;
                continue;
            }
            const std::size_t Igual = Linha.find('=');
            if (!Atual || Igual == std::string_view::npos)
                continue;
            std::string_view Valor = AparaBrancos(Linha.substr(Igual + 1));
            if (Valor.size() >= 2 && (Valor.front() == '"' || Valor.front() == '\'') && Valor.back() == Valor.front())
                Valor = Valor.substr(1, Valor.size() - 2);
            Atual->Chaves.emplace_back(AparaBrancos(Linha.substr(0, Igual)), Valor);
        }
    }
    const std::string_view* Le(std::string_view Secao, std::string_view Chave) const
    {
        const TSecao* S = Acha(Secao);
        if (S)
            for (const auto& [K, V] : S->Chaves)
                if (IguaisSemCaixa(K, Chave))
                    return &V;
        return nullptr;
    }
    std::string Valor(std::string_view Secao, std::string_view Chave) const
    {
        const std::string_view* V = Le(Secao, Chave);
        return V ? std::string(*V) : std::string();
    }
    std::vector<std::string_view> NomesSecoes;

private:
    struct TSecao {
        std::string_view Nome;
        std::vector<std::pair<std::string_view, std::string_view>> Chaves;
    };
    const TSecao* Acha(std::string_view Nome) const
    {
        const auto I = Indice.find(MinusculasAscii(std::string(Nome)));
        return I == Indice.end() ? nullptr : &Secoes[I->second];
    }
    std::deque<TSecao> Secoes;
    std::unordered_map<std::string, std::size_t> Indice;  // small-letter name: the first section of it
};

class TVerificacao {
public:
    explicit TVerificacao(std::string Raiz) : Raiz(std::move(Raiz)) {}

    std::vector<TAchado> Achados;

    void Acha(const std::string& Arquivo, const char* Tipo, const std::string& Texto)
    {
        Achados.push_back({Arquivo, Tipo, Texto});
    }

    /// The encoding checks of a settings file; false when its content cannot be checked further.
    bool Codificacao(const std::string& Arquivo, const std::string& Dados)
    {
        if (Dados.size() >= 2 && ((Dados[0] == '\xFF' && Dados[1] == '\xFE') || (Dados[0] == '\xFE' && Dados[1] == '\xFF'))) {
            Acha(Arquivo, "utf16", "UTF-16 text, not CP1252: other programs of the server read it wrongly");
            return false;
        }
        if (Dados.find('\0') != std::string::npos) {
            Acha(Arquivo, "nao-texto", "not text: it holds NUL bytes");
            return false;
        }
        if (Dados.rfind("\xEF\xBB\xBF", 0) == 0) {
            Acha(Arquivo, "nao-cp1252", "UTF-8 text with a byte-order mark, not CP1252");
            return true;
        }
        bool Alto = false, Utf8 = true;
        for (std::size_t I = 0; I < Dados.size(); ++I) {
            const auto B = static_cast<unsigned char>(Dados[I]);
            if (B < 0x80)
                continue;
            Alto = true;
            if (B == 0x81 || B == 0x8D || B == 0x8F || B == 0x90 || B == 0x9D) {
                Acha(Arquivo, "nao-cp1252", "byte 0x" + std::string(1, "0123456789ABCDEF"[B >> 4]) +
                                                std::string(1, "0123456789ABCDEF"[B & 15]) +
                                                " is no CP1252 character");
                return true;
            }
            const int Seguintes = B >= 0xF0 && B < 0xF5 ? 3 : B >= 0xE0 ? 2 : B >= 0xC2 && B < 0xE0 ? 1 : -1;
            if (Seguintes < 0 || I + static_cast<std::size_t>(Seguintes) >= Dados.size()) {
                Utf8 = false;
                continue;
            }
            for (int K = 1; K <= Seguintes; ++K)
                if ((static_cast<unsigned char>(Dados[I + static_cast<std::size_t>(K)]) & 0xC0) != 0x80)
                    Utf8 = false;
            if (Utf8)
                I += static_cast<std::size_t>(Seguintes);
        }
        if (Alto && Utf8)
            Acha(Arquivo, "nao-cp1252", "UTF-8 text, not CP1252");
        return true;
    }

    void Tabela(const std::string& Arquivo, const TIniLido& Ini, int T)
    {
        const std::string Chave = RegrasBins::ChaveTotal(T);
        const std::string_view* Total = Ini.Le("TabBins", Chave);
        std::set<long long> Numeros;
        for (const std::string_view Secao : Ini.NomesSecoes)
            if (const auto N = RegrasBins::LinhaDaSecao(T, Secao)) {
                if (*N < 1)
                    Acha(Arquivo, "linha-fora", "[" + std::string(Secao) + "] is no row of the table");
                else
                    Numeros.insert(*N);
            }
        const long long Ultima = Numeros.empty() ? 0 : *Numeros.rbegin();
        const std::optional<long long> N = RegrasBins::LeQuantidade(Total ? *Total : "0");
        if (!N)
            Acha(Arquivo, "contagem-invalida", "[TabBins] " + Chave + "=" + std::string(*Total) + " is not a number");
        else if (*N != Ultima)
            Acha(Arquivo, "contagem-errada",
                 "[TabBins] " + Chave + "=" + (Total ? std::string(*Total) : "(missing)") +
                     " does not match the row sections (" +
                     (Ultima ? "the last is [" + RegrasBins::SecaoDaLinha(T, Ultima) + "]" : std::string("there is none")) +
                     ")");
        std::string Faltam;
        for (long long K = 1; K < Ultima; ++K)
            if (!Numeros.count(K))
                Faltam += (Faltam.empty() ? "[" : ", [") + RegrasBins::SecaoDaLinha(T, K) + "]";
        if (!Faltam.empty())
            Acha(Arquivo, "linha-faltando", "rows missing in the middle: " + Faltam);

        std::vector<TLinhaBins> Linhas;
        std::vector<long long> NumeroDe;
        for (const long long K : Numeros) {
            const std::string Secao = RegrasBins::SecaoDaLinha(T, K);
            Linhas.push_back({Ini.Valor(Secao, "Nome"), Ini.Valor(Secao, "Bins"), Ini.Valor(Secao, "Senha") == "1"});
            NumeroDe.push_back(K);
        }
        static const char* const Tipos[] = {"bin-invalido", "bin-invalido", "bins-sobrepostos", "lista-longa",
                                            "bin-invalido", "nome-vazio", "nome-repetido", "nome-longo", "sem-bins"};
        for (const TFalhaBins& F : RegrasBins::VerificaTabela(Linhas))
            Acha(Arquivo, Tipos[static_cast<int>(F.Erro)],
                 "[" + RegrasBins::SecaoDaLinha(T, NumeroDe[F.Linha]) + "] " + RegrasBins::Mensagem(F.Erro) +
                     (F.Detalhe.empty() ? "" : " (" + F.Detalhe + ")"));
    }

    /// A module ini file: its encoding, its BIN tables, and for a company its transactions and code.
    void Mirabelo(const std::string& Arquivo, const std::string& Empresa)
    {
        std::string Dados;
        int Erro = 0;
        if (!LeArquivo(Arquivo, Dados, Erro)) {
            Acha(Arquivo, "ilegivel", std::string("unreadable: ") + std::strerror(Erro));
            return;
        }
        if (!Codificacao(Arquivo, Dados))
            return;
        const TIniLido Ini(Dados);
        for (int T = 0; T < 2; ++T)
            Tabela(Arquivo, Ini, T);
        if (Empresa.empty())
            return;
        const std::string Vista = Ini.Valor("TrnHabilitada", "DebitoVista");
        if (!Vista.empty()) {
            TTransHab V;
            V.NumeroParcelas = Ini.Valor("TrnHabilitada", "NumeroParcelas");
            V.ParceladoJurosEstabelecimento = Ini.Valor("TrnHabilitada", "ParceladoJurosEstabelecimento") == "1";
            if (const auto E = RegrasTransHab::Valida(V, V.ParceladoJurosEstabelecimento))
                Acha(Arquivo, "parcelas-invalidas",
                     "[TrnHabilitada] NumeroParcelas=" + V.NumeroParcelas + ": " + RegrasTransHab::Mensagem(*E));
        }
        const std::string Codigo = Ini.Valor("Geral", "CodigoEstabelecimento");
        if (Codigo.empty())
            return;
        if (Codigo.size() != 15)
            Acha(Arquivo, "codigo-tamanho", "establishment code " + Codigo + " has " + std::to_string(Codigo.size()) +
                                                " characters, not 15");
        Codigos[Codigo].emplace_back(Empresa, Arquivo);
    }

    /// The other settings files of the config folder: only their encoding.
    void Configuracao(const std::string& Arquivo)
    {
        std::string Dados;
        int Erro = 0;
        if (!LeArquivo(Arquivo, Dados, Erro))
            Acha(Arquivo, "ilegivel", std::string("unreadable: ") + std::strerror(Erro));
        else
            Codificacao(Arquivo, Dados);
    }

    void Empresa(const std::string& Arquivo, const std::string& Codigo)
    {
        if (!CodigoEmpresaValido(Codigo)) {
            Acha(Arquivo, "empresa-invalida", "a company file is named by 8 letters or digits");
            return;
        }
        char Magia[2] = {};
        const int F = open(Arquivo.c_str(), O_RDONLY | O_CLOEXEC);
        const ssize_t N = F < 0 ? -1 : read(F, Magia, 2);
        const int Erro = errno;
        if (F >= 0)
            close(F);
        if (N < 0)
            Acha(Arquivo, "ilegivel", std::string("unreadable: ") + std::strerror(Erro));
        else if (N < 2 || Magia[0] != '\x10' || Magia[1] != '\x01')
            Acha(Arquivo, "empresa-invalida", "not a company file: it does not start with the bytes 10 01");
        Cnfs.emplace(MaiusculasAscii(Codigo), Arquivo);
    }

    void Duplicados(bool Permite)
    {
        if (Permite)
            return;
        for (const auto& [Codigo, Empresas] : Codigos) {
            if (Empresas.size() < 2)
                continue;
            for (const auto& [Empresa, Arquivo] : Empresas) {
                std::string Outras;
                for (const auto& Outra : Empresas)
                    if (Outra.first != Empresa)
                        Outras += (Outras.empty() ? "" : ", ") + Outra.first;
                Acha(Arquivo, "codigo-duplicado", "establishment code " + Codigo + " is also held by " + Outras);
            }
        }
    }

    const std::string Raiz;
    std::map<std::string, std::string> Cnfs;  // upper-cased code: its file
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> Codigos;
};

} // namespace

std::vector<TAchado> VerificaRaiz(const std::string& Raiz)
{
    TVerificacao V(Raiz);
    const std::string Config = CaminhoLocal(Raiz + "\\config");
    bool Ok = true;
    const std::vector<TEntrada> Entradas = Lista(Config, Ok);
    if (!Ok) {
        V.Acha(Config, "ilegivel", std::string("the folder cannot be listed: ") + std::strerror(errno));
        return V.Achados;
    }
    std::string Empresas;
    for (const TEntrada& E : Entradas) {
        const std::string Caminho = Config + "/" + E.Nome;
        if (E.Pasta) {
            if (IguaisSemCaixa(E.Nome, "empresas"))
                Empresas = Caminho;
        } else if (EhTemporario(E.Nome)) {
            V.Acha(Caminho, "temporario", "a temporary file a writer left behind");
        } else if (TerminaCom(E.Nome, ".cnf")) {
            V.Empresa(Caminho, E.Nome.substr(0, E.Nome.size() - 4));
        } else if (IguaisSemCaixa(E.Nome, "Mirabelo.ini")) {
            V.Mirabelo(Caminho, "");
        } else if (TerminaCom(E.Nome, ".ini")) {
            V.Configuracao(Caminho);
        }
    }
    std::set<std::string> Pastas;
    if (!Empresas.empty()) {
        const std::vector<TEntrada> Subpastas = Lista(Empresas, Ok);
        TProgresso Progresso(Subpastas.size(), "verifica");
        for (const TEntrada& P : Subpastas) {
            Progresso.Avanca();
            const std::string Pasta = Empresas + "/" + P.Nome;
            if (!P.Pasta)
                continue;
            Pastas.insert(MaiusculasAscii(P.Nome));
            if (!V.Cnfs.count(MaiusculasAscii(P.Nome)))
                V.Acha(Pasta, "pasta-sem-cnf", "a company folder without its company file " + P.Nome + ".cnf");
            for (const TEntrada& E : Lista(Pasta, Ok)) {
                if (IguaisSemCaixa(E.Nome, "Mirabelo.ini"))
                    V.Mirabelo(Pasta + "/" + E.Nome, P.Nome);
                else if (!E.Pasta && EhTemporario(E.Nome))
                    V.Acha(Pasta + "/" + E.Nome, "temporario", "a temporary file a writer left behind");
            }
            if (!Ok)
                V.Acha(Pasta, "ilegivel", std::string("the folder cannot be listed: ") + std::strerror(errno));
        }
    }
    for (const auto& [Codigo, Arquivo] : V.Cnfs)
        if (!Pastas.count(Codigo))
            V.Acha(Arquivo, "cnf-sem-pasta",
                   "a company without its folder " + CaminhoLocal(Raiz + "\\config\\empresas\\" + Codigo));
    V.Duplicados(PermiteDuplicidadeEstabelecimento(Raiz));
    return V.Achados;
}
