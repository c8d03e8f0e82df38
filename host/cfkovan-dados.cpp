// cfkovan-dados: the company data exchange of a network module, from a shell or a script. It loads the
// module as the configurator does and hands it the same requests the configurator would.
#include "config/Kovan_INI.h"
#include "config/Lib.h"
#include "host/Acesso.h"
#include "host/Argumentos.h"
#include "host/Modulo.h"
#include "host/RaizServidor.h"
#include "host/TrocaTabelas.h"
#include "host/Verificacao.h"
#include "module/info.h"
#include "platform/Ascii.h"
#include "platform/Cp1252.h"
#include "platform/Files.h"
#include "runtime/Application.h"
#include "runtime/Dialogs.h"
#include "support/EventLog.h"
#include "support/msgmodulos.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <langinfo.h>
#include <limits>
#include <locale.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace {

constexpr int SaidaOk = 0;
constexpr int SaidaInterrompida = 1;
constexpr int SaidaFalha = 2;

const char* const Ajuda = R"(Usage: cfkovan-dados [OPTIONS] COMMAND [ARGUMENT]

Moves the Mirabelo establishment codes of a Kovan server in bulk, as the configurator does.

Commands:
  export [COMPANY]    write "company;code" lines: of COMPANY (8 letters or digits), or of
                      every company that has a code
  export-all          write a line for every company, with an empty code where it has none
  import FILE         store the codes of the "company;code" lines of FILE ("-": standard input);
                      codes are padded with zeros to 15 digits; a code that another company
                      already holds raises a question
  erase COMPANY       remove the establishment code of COMPANY
  erase --all         remove the establishment codes of every company

  bins export [COMPANY...|--all|--geral]
                      write the BIN tables, one "company;table;name;bins;pin" line per row:
                      of the general file ("Todas") and every company (the default, --all),
                      of the general file only (--geral), or of the companies named
  bins import FILE    replace each table a line of FILE names, for that company only
  transacoes export [COMPANY...|--all]
                      write "company;vista;parcelado;cancelamento;parcelas" for each company
                      whose enabled transactions are configured
  transacoes import FILE
                      store the enabled transactions of each company FILE names
  verifica            check the whole server root; one line per finding, with its file

Options:
  --config-dir DIR    the folder holding CfKovan.ini, whose [config] raiz names the server root
                      (default: see Files below; without that file, or when the root it
                      names does not exist, nothing is done)
  --module FILE       the module library (default: see Files below)
  -o, --output FILE   write the export to FILE instead of standard output
  --yes               answer Yes to every question of the import (skip the entry, go on)
  --no                answer No to every question of the import (stop the import there)
  --dry-run           bins and transacoes import: say per company what would change, write
                      nothing
  --json              verifica: one JSON object per finding ({"file","finding","message"})
  -h, --help          show this text

Files:
  CfKovan.ini         the one in the --config-dir folder; else the first found: beside this
                      program, in )" KOVAN_PASTA_CFKOVAN_SISTEMA R"(
  libcfMirabelo.so    the --module file; else the first found: beside this program, in
                      )" KOVAN_PASTA_MODULOS R"( from this program's folder

Files hold one "company;code" line per company in code page 1252 (Windows Latin 1); what is
shown on a terminal is converted to the terminal's encoding. On a single-company server every
command works on company 00000000.

Without --yes or --no the questions are asked at the terminal; with no terminal to ask, the
answer is No.

After an import or an erase every company concerned is read back from its file; each one whose
file does not hold what was asked is named on a line of its own, and the status is 2.

BIN tables and transactions are checked with the rules of their screens before anything is
written: every line that breaks one is reported as FILE:LINE: reason, and then nothing is
written (status 2). A bins line with name, bins and pin empty names a table without rows.
Each change is recorded in the audit log as the screens record it. On a terminal, long runs
show their progress on standard error.

Exit status: 0 done (verifica: the root is clean); 1 the import was stopped by a No; 2 failure
(usage, module, files, a server root that does not exist, a company whose file does not hold
what was asked, a refused import; verifica: findings).
)";

enum class TResposta { Perguntar, Sim, Nao };

struct TOpcoes {
    std::string PastaConfig;
    std::string Modulo;
    std::string Saida;
    TResposta Resposta = TResposta::Perguntar;
    std::string Comando;
    std::string Argumento;
    std::string Acao;                    ///< bins and transacoes: export or import
    std::vector<std::string> Argumentos; ///< what follows it
    bool Simulacao = false;
    bool Json = false;
};

// bins, transacoes and verifica: the words after the command.
bool LeOpcoesTabelas(const std::vector<std::string>& Posicionais, TOpcoes& O, std::string& Erro)
{
    if (O.Comando == "verifica") {
        if (Posicionais.size() > 1)
            Erro = "verifica takes no argument";
    } else if (Posicionais.size() < 2 || (Posicionais[1] != "export" && Posicionais[1] != "import")) {
        Erro = O.Comando + " needs export or import";
    } else {
        O.Acao = Posicionais[1];
        O.Argumentos.assign(Posicionais.begin() + 2, Posicionais.end());
        if (O.Acao == "import" && O.Argumentos.size() != 1)
            Erro = O.Comando + " import needs one FILE";
        for (const std::string& A : O.Argumentos)
            if (O.Acao == "export" && A == "--geral" && O.Comando != "bins")
                Erro = "--geral names the general BIN tables: only bins export takes it";
            else if (O.Acao == "export" && (A == "--all" || A == "--geral") && O.Argumentos.size() > 1)
                Erro = A + " takes no COMPANY besides it";
    }
    if (O.Simulacao && O.Acao != "import")
        Erro = "--dry-run goes with bins import and transacoes import";
    if (O.Json && O.Comando != "verifica")
        Erro = "--json goes with verifica";
    return Erro.empty();
}

struct TContextoPerguntas {
    TResposta Resposta;
    bool PodePerguntar;
    bool TerminalUtf8;
    int Nao = 0;
    std::vector<std::string> Puladas;  // the company of each question answered Yes: its entry was skipped
};

// The company a question of the import is about: the first "[...]" of its text.
std::string EmpresaDaPergunta(const std::string& Texto)
{
    const std::size_t Inicio = Texto.find('[');
    const std::size_t Fim = Inicio == std::string::npos ? Inicio : Texto.find(']', Inicio);
    return Fim == std::string::npos ? std::string() : Texto.substr(Inicio + 1, Fim - Inicio - 1);
}

bool TerminalUtf8()
{
    const char* Codificacao = nl_langinfo(CODESET);
    return Codificacao && (std::strcmp(Codificacao, "UTF-8") == 0 || std::strcmp(Codificacao, "utf8") == 0);
}

std::string ParaTerminal(const std::string& Texto, bool Utf8)
{
    return Utf8 ? Cp1252ParaUtf8(Texto) : Texto;
}

int RespondeCaixa(void* Contexto, const char* Texto, const char* Titulo, unsigned int Flags)
{
    auto& C = *static_cast<TContextoPerguntas*>(Contexto);
    std::cerr << ParaTerminal(Titulo, C.TerminalUtf8) << ": " << ParaTerminal(Texto, C.TerminalUtf8) << '\n';
    if ((Flags & 0xF) != MB_YESNO)
        return IDOK;
    TResposta Resposta = C.Resposta;
    if (Resposta == TResposta::Perguntar && !C.PodePerguntar) {
        std::cerr << "  (no terminal to ask: answering No; use --yes or --no)\n";
        Resposta = TResposta::Nao;
    }
    while (Resposta == TResposta::Perguntar) {
        std::cerr << "  Continue? [y/n] " << std::flush;
        std::string Linha;
        if (!std::getline(std::cin, Linha)) {
            Resposta = TResposta::Nao;
            break;
        }
        if (Linha == "y" || Linha == "Y" || Linha == "yes" || Linha == "s" || Linha == "sim")
            Resposta = TResposta::Sim;
        else if (Linha == "n" || Linha == "N" || Linha == "no" || Linha == "nao")
            Resposta = TResposta::Nao;
    }
    if (C.Resposta != TResposta::Perguntar)
        std::cerr << (Resposta == TResposta::Sim ? "  -> Yes\n" : "  -> No\n");
    if (Resposta == TResposta::Nao)
        ++C.Nao;
    else
        C.Puladas.push_back(MaiusculasAscii(EmpresaDaPergunta(Texto)));
    return Resposta == TResposta::Sim ? IDYES : IDNO;
}

bool LeOpcoes(int Argc, char** Argv, TOpcoes& O, std::string& Erro)
{
    std::vector<std::string> Posicionais;
    const TOpcaoComValor ComValor[] = {
        {"--config-dir", &O.PastaConfig}, {"--module", &O.Modulo}, {"-o", &O.Saida}, {"--output", &O.Saida}};
    for (int I = 1; I < Argc; ++I) {
        const std::string A = Argv[I];
        if (LeOpcaoComValor(ComValor, Argc, Argv, I, Erro)) {
            if (!Erro.empty())
                return false;
        } else if (A == "-h" || A == "--help") {
            O.Comando = "help";
            return true;
        } else if (A == "--yes" || A == "--no") {
            const TResposta Nova = A == "--yes" ? TResposta::Sim : TResposta::Nao;
            if (O.Resposta != TResposta::Perguntar && O.Resposta != Nova) {
                Erro = "--yes and --no exclude each other";
                return false;
            }
            O.Resposta = Nova;
        } else if (A == "--dry-run") {
            O.Simulacao = true;
        } else if (A == "--json") {
            O.Json = true;
        } else if (A.size() > 1 && A[0] == '-' && A != "--all" && A != "--geral") {
            Erro = "unknown option " + A;
            return false;
        } else {
            Posicionais.push_back(A);
        }
    }
    if (Posicionais.empty()) {
        Erro = "no command given";
        return false;
    }
    O.Comando = Posicionais[0];
    if (O.Comando == "bins" || O.Comando == "transacoes" || O.Comando == "verifica")
        return LeOpcoesTabelas(Posicionais, O, Erro);
    if (O.Simulacao || O.Json) {
        Erro = O.Simulacao ? "--dry-run goes with bins import and transacoes import" : "--json goes with verifica";
        return false;
    }
    if (Posicionais.size() > 2) {
        Erro = "too many arguments";
        return false;
    }
    if (Posicionais.size() == 2)
        O.Argumento = Posicionais[1];
    const bool PrecisaArgumento = O.Comando == "import" || O.Comando == "erase";
    const bool AceitaArgumento = PrecisaArgumento || O.Comando == "export";
    if (O.Comando != "export" && O.Comando != "export-all" && !PrecisaArgumento) {
        Erro = "unknown command " + O.Comando;
        return false;
    }
    if (PrecisaArgumento && O.Argumento.empty()) {
        Erro = O.Comando + (O.Comando == "import" ? " needs a FILE" : " needs a COMPANY or --all");
        return false;
    }
    if (!AceitaArgumento && !O.Argumento.empty()) {
        Erro = O.Comando + " takes no argument";
        return false;
    }
    const bool CodigoEmpresa = (O.Comando == "export" || O.Comando == "erase") && !O.Argumento.empty() &&
                               O.Argumento != "--all";
    if (CodigoEmpresa && O.Argumento.size() != 8) {
        Erro = "a company code has 8 letters or digits: " + O.Argumento;
        return false;
    }
    if (O.Comando == "export" && O.Argumento == "--all") {
        Erro = "export takes a COMPANY or nothing";
        return false;
    }
    return true;
}

// The entry list of an import file: one entry per non-empty line, each ended by a NUL, and one more
// NUL at the end.
bool MontaLista(std::istream& Entrada, bool ConverteDoTerminal, std::string& Lista, std::string& Erro)
{
    std::string Linha;
    int Numero = 0;
    while (std::getline(Entrada, Linha)) {
        ++Numero;
        if (!Linha.empty() && Linha.back() == '\r')
            Linha.pop_back();
        if (Linha.find('\0') != std::string::npos) {
            Erro = "line " + std::to_string(Numero) + " holds a NUL byte";
            return false;
        }
        if (Linha.find_first_not_of(" \t") == std::string::npos)
            continue;
        Lista += ConverteDoTerminal ? Utf8ParaCp1252(Linha) : Linha;
        Lista += '\0';
    }
    Lista += '\0';
    if (Lista.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        Erro = "the file is too large";
        return false;
    }
    return true;
}

TDadosCfg Pedido(TOperacaoDados Operacao, const std::string& Empresa)
{
    TDadosCfg Dados;
    std::memset(&Dados, 0, sizeof Dados);
    Dados.Operacao = Operacao;
    std::strncpy(Dados.CodEmpresa, Empresa.c_str(), sizeof Dados.CodEmpresa - 1);
    return Dados;
}

using TDadosEmpresa = void (*)(TDadosCfg*);

// The entries of an export, counted here: Resultado stops at 32767. False when the module failed.
bool Exportacao(TDadosEmpresa DadosEmpresa, TOperacaoDados Operacao, const std::string& Empresa,
                std::vector<std::string>& Entradas)
{
    std::vector<char> Buffer(64 * 1024);
    TDadosCfg Dados;
    for (;;) {
        Dados = Pedido(Operacao, Empresa);
        Dados.TamBuffer = static_cast<std::int32_t>(Buffer.size());
        Dados.Buffer = Buffer.data();
        DadosEmpresa(&Dados);
        if (Dados.Resultado != ResultadoBufferPequeno || Buffer.size() >= (1u << 30))
            break;
        Buffer.assign(Buffer.size() * 4, 0);  // the module says the buffer was too small
    }
    if (Dados.Resultado < 0) {
        std::cerr << "cfkovan-dados: export failed (result " << Dados.Resultado << ")\n";
        return false;
    }
    Entradas = LeEntradasDadosConfig(Buffer.data(), static_cast<std::int64_t>(Buffer.size()));
    return true;
}

std::string Plural(std::size_t Quantos, const char* Um, const char* Varios)
{
    return std::to_string(Quantos) + ' ' + (Quantos == 1 ? Um : Varios);
}

// Opens the -o file of an export, or says why it cannot be written (naming the user when the file
// system refuses it).
bool AbreSaida(const std::string& Caminho, std::ofstream& Arquivo)
{
    Arquivo.open(Caminho, std::ios::binary | std::ios::trunc);
    if (Arquivo)
        return true;
    const int Erro = errno;
    std::cerr << "cfkovan-dados: cannot write " << Caminho << ": " << std::strerror(Erro)
              << (Erro == EACCES || Erro == EPERM ? " (running as user " + UsuarioEfetivo() + ")" : "") << '\n';
    return false;
}

int Exporta(TDadosEmpresa DadosEmpresa, const TOpcoes& O, bool Utf8)
{
    std::vector<std::string> Entradas;
    if (!Exportacao(DadosEmpresa, O.Comando == "export-all" ? OperacaoExportaTodas : OperacaoExporta, O.Argumento,
                    Entradas))
        return SaidaFalha;
    std::ofstream Arquivo;
    const bool ParaArquivo = !O.Saida.empty();
    if (ParaArquivo && !AbreSaida(O.Saida, Arquivo))
        return SaidaFalha;
    std::ostream& Saida = ParaArquivo ? static_cast<std::ostream&>(Arquivo) : std::cout;
    const bool Converte = !ParaArquivo && isatty(STDOUT_FILENO) && Utf8;
    for (const std::string& Entrada : Entradas)
        Saida << (Converte ? Cp1252ParaUtf8(Entrada) : Entrada) << '\n';
    Saida.flush();
    if (!Saida) {
        std::cerr << "cfkovan-dados: writing the export failed\n";
        return SaidaFalha;
    }
    std::cerr << "exported " << Plural(Entradas.size(), "entry", "entries") << '\n';
    return SaidaOk;
}

// The establishment code a company's file holds, read as the module reads it.
std::string CodigoGuardado(const std::string& Raiz, const std::string& Empresa)
{
    return TKovanIni(Raiz, "Mirabelo", Empresa).LeVar("Geral", "CodigoEstabelecimento", "");
}

std::string ArquivoDaEmpresa(const std::string& Raiz, const std::string& Empresa)
{
    TKovanIni Ini(Raiz, "Mirabelo", Empresa);
    std::string Caminho, Secao;
    Ini.ArquivoSec(Ini.Arquivo(), Empresa, "Geral", Caminho, Secao);
    return CaminhoLocal(Caminho);
}

// The user we run as and what the file system refuses that user on the way to Arquivo, when it
// refuses anything: "; user nobody may not write /srv/kovan/config/empresas".
std::string RecusaDoSistema(const std::string& Arquivo, bool Utf8)
{
    const std::string Recusado = PrimeiroSemEscrita(Arquivo);
    return Recusado.empty() ? std::string() : "; user " + UsuarioEfetivo() + " may not write " + ParaTerminal(Recusado, Utf8);
}

// One line per company whose file does not hold what the request should have left there, naming the
// user we run as when the file system refuses that user the write.
void RelataFalha(const std::string& Raiz, const std::string& Empresa, const std::string& Problema, bool Utf8)
{
    const std::string Arquivo = ArquivoDaEmpresa(Raiz, Empresa);
    std::cerr << "cfkovan-dados: company " << ParaTerminal(Empresa, Utf8) << ": " << ParaTerminal(Arquivo + " " + Problema, Utf8)
              << RecusaDoSistema(Arquivo, Utf8) << '\n';
}

// What an import should leave in one company's file. The entries the module stores are those with a
// company code of 8 letters or digits and a code of 1 to 15 characters; the last of them wins. When a
// question skipped one of its entries, or a No stopped the import, which one won is not known here:
// then any of its codes, or the code it held before, will do.
struct TEmpresaImportada {
    std::string Empresa;
    std::string Antes;
    std::vector<std::string> Codigos;  // padded, in entry order
};

int Importa(TDadosEmpresa DadosEmpresa, const std::string& Raiz, const TOpcoes& O, TContextoPerguntas& Perguntas)
{
    std::ifstream Arquivo;
    const bool DaEntrada = O.Argumento == "-";
    if (!DaEntrada) {
        Arquivo.open(O.Argumento, std::ios::binary);
        if (!Arquivo) {
            std::cerr << "cfkovan-dados: cannot read " << O.Argumento << ": " << std::strerror(errno) << '\n';
            return SaidaFalha;
        }
    }
    std::string Lista, Erro;
    const bool Converte = DaEntrada && isatty(STDIN_FILENO) && Perguntas.TerminalUtf8;
    if (!MontaLista(DaEntrada ? std::cin : Arquivo, Converte, Lista, Erro)) {
        std::cerr << "cfkovan-dados: " << O.Argumento << ": " << Erro << '\n';
        return SaidaFalha;
    }
    if (DaEntrada) {
        std::cin.clear();
        Perguntas.PodePerguntar = false;  // standard input held the list
    }

    // The entries as the module reads them, and what each company should hold afterwards.
    const std::vector<std::string> Entradas = LeEntradasDadosConfig(Lista.data(), static_cast<std::int64_t>(Lista.size()));
    std::vector<TEmpresaImportada> Empresas;
    std::unordered_map<std::string, std::size_t> IndiceEmpresa;
    std::size_t Ignoradas = 0;
    for (const std::string& Entrada : Entradas) {
        const std::string E = CampoDaEntrada(Entrada, 1);
        const std::string C = CampoDaEntrada(Entrada, 2);
        if (!CodigoEmpresaValido(E) || C.empty() || C.size() > 15) {
            ++Ignoradas;
            continue;
        }
        const auto [Pos, Nova] = IndiceEmpresa.emplace(MaiusculasAscii(E), Empresas.size());
        if (Nova)
            Empresas.push_back({E, CodigoGuardado(Raiz, E), {}});
        Empresas[Pos->second].Codigos.push_back(CompletaZero(C));
    }

    TDadosCfg Dados = Pedido(OperacaoImporta, "");
    Dados.TamBuffer = static_cast<std::int32_t>(Lista.size());
    Dados.Buffer = Lista.data();
    DadosEmpresa(&Dados);

    const bool Interrompida = Perguntas.Nao > 0;
    std::unordered_map<std::string, std::size_t> PuladasPorEmpresa;
    for (const std::string& E : Perguntas.Puladas)
        ++PuladasPorEmpresa[E];
    std::size_t Falhas = 0;
    for (const TEmpresaImportada& Empresa : Empresas) {
        const std::string Agora = CodigoGuardado(Raiz, Empresa.Empresa);
        const auto Puladas = PuladasPorEmpresa.find(MaiusculasAscii(Empresa.Empresa));
        const std::size_t QuantasPuladas = Puladas == PuladasPorEmpresa.end() ? 0 : Puladas->second;
        bool Certo;
        if (Interrompida || QuantasPuladas > 0)
            Certo = Agora == Empresa.Antes ||
                    std::find(Empresa.Codigos.begin(), Empresa.Codigos.end(), Agora) != Empresa.Codigos.end();
        else
            Certo = Agora == Empresa.Codigos.back();
        if (Certo)
            continue;
        RelataFalha(Raiz, Empresa.Empresa,
                    "does not hold code " + Empresa.Codigos.back() + " (it holds " + (Agora.empty() ? "none" : Agora) + ")",
                    Perguntas.TerminalUtf8);
        Falhas += Empresa.Codigos.size() - std::min(QuantasPuladas, Empresa.Codigos.size());
    }

    const std::size_t Puladas = Ignoradas + Perguntas.Puladas.size();
    const std::string Lidas = "read " + Plural(Entradas.size(), "entry", "entries");
    if (Interrompida)
        std::cerr << "import stopped by a No: " << Lidas << ", " << Puladas << " skipped, " << Falhas
                  << " failed; the entries from the No on were not stored\n";
    else
        std::cerr << Lidas << ": " << Entradas.size() - Puladas - Falhas << " stored, " << Puladas << " skipped, "
                  << Falhas << " failed\n";
    if (Falhas > 0)
        return SaidaFalha;
    return Interrompida ? SaidaInterrompida : SaidaOk;
}

int Apaga(TDadosEmpresa DadosEmpresa, const std::string& Raiz, const TOpcoes& O, bool Utf8)
{
    // The companies concerned are those an export of the same request lists; afterwards none of them
    // may hold a code.
    const std::string Empresa = O.Argumento == "--all" ? "" : O.Argumento;
    std::vector<std::string> Antes, Depois;
    if (!Exportacao(DadosEmpresa, OperacaoExportaTodas, Empresa, Antes))
        return SaidaFalha;
    TDadosCfg Dados = Pedido(OperacaoApaga, Empresa);
    DadosEmpresa(&Dados);
    if (Dados.Resultado < 0) {
        std::cerr << "cfkovan-dados: erase failed (result " << Dados.Resultado << ")\n";
        return SaidaFalha;
    }
    if (!Exportacao(DadosEmpresa, OperacaoExportaTodas, Empresa, Depois))
        return SaidaFalha;
    std::size_t Falhas = 0;
    for (const std::string& Entrada : Depois) {
        const std::string Codigo = CampoDaEntrada(Entrada, 2);
        if (Codigo.empty())
            continue;
        RelataFalha(Raiz, CampoDaEntrada(Entrada, 1), "still holds code " + Codigo, Utf8);
        ++Falhas;
    }
    std::cerr << "erased the code of " << Plural(Antes.size() - std::min(Falhas, Antes.size()), "company", "companies");
    if (Falhas > 0)
        std::cerr << "; " << Falhas << " failed";
    std::cerr << '\n';
    return Falhas > 0 ? SaidaFalha : SaidaOk;
}

// The companies an export names, as the files name them ("" the general file); false, with Erro,
// for a name that is no company of this server.
bool EmpresasDaExportacao(const TOpcoes& O, const std::vector<std::string>& Empresas, std::vector<std::string>& Quais,
                          std::string& Erro)
{
    const bool Bins = O.Comando == "bins";
    if (O.Argumentos.empty() || O.Argumentos[0] == "--all") {
        if (Bins)
            Quais.emplace_back();
        Quais.insert(Quais.end(), Empresas.begin(), Empresas.end());
        return true;
    }
    if (O.Argumentos[0] == "--geral") {
        Quais.emplace_back();
        return true;
    }
    for (const std::string& A : O.Argumentos) {
        if (Bins && IguaisSemCaixa(A, "Todas")) {
            Quais.emplace_back();
            continue;
        }
        const auto E = std::find_if(Empresas.begin(), Empresas.end(), [&A](const std::string& Empresa) {
            return IguaisSemCaixa(Empresa, A);
        });
        if (E == Empresas.end()) {
            Erro = "company " + A + " is not a company of this server";
            return false;
        }
        Quais.push_back(*E);
    }
    return true;
}

// bins and transacoes: export or import, with the rules and the audit of the screens.
int Tabelas(const TOpcoes& O, const std::string& Raiz, bool Utf8)
{
    CarregaMsg();  // the site's message overrides: the audit's texts and the tables' column titles
    TContextoTroca C;
    C.Raiz = Raiz;
    if (KovanMultiEmpresa(Raiz))
        LerEmpresas(Raiz, C.Empresas);
    else
        C.Empresas = {"00000000"};
    C.Simulacao = O.Simulacao;
    TEvtLog Log(Application().Title, Application().ExeName(), "cfkovan-dados");
    C.Auditoria = [&Log](const std::string& Empresa) -> TAuditoria {
        const std::string Campo = Empresa.empty() ? LeMensagens(250) : Empresa; // "Todas": the general file
        return [&Log, Campo](const std::string& Texto) { Log.LogMsg(Texto, EVENTLOG_INFORMATION_TYPE, 1, Campo); };
    };
    C.Titulos = {LeMensagens(246), LeMensagens(247), LeMensagens(206)};
    C.Recusa = [&Raiz, Utf8](const std::string& Empresa) { return RecusaDoSistema(ArquivoDaEmpresa(Raiz, Empresa), Utf8); };
    const bool Bins = O.Comando == "bins";

    if (O.Acao == "import") {
        C.Utf8 = Utf8;
        const std::string& Nome = O.Argumentos[0];
        std::ifstream Arquivo;
        std::istringstream DoTerminal;
        std::istream* Entrada = &Arquivo;
        if (Nome == "-" && isatty(STDIN_FILENO) && Utf8) {
            std::ostringstream Tudo;
            Tudo << std::cin.rdbuf();
            DoTerminal.str(Utf8ParaCp1252(Tudo.str()));
            Entrada = &DoTerminal;
        } else if (Nome == "-") {
            Entrada = &std::cin;
        } else {
            Arquivo.open(Nome, std::ios::binary);
            if (!Arquivo) {
                std::cerr << "cfkovan-dados: cannot read " << Nome << ": " << std::strerror(errno) << '\n';
                return SaidaFalha;
            }
        }
        return Bins ? ImportaBins(C, *Entrada, Nome, std::cerr) : ImportaTransHab(C, *Entrada, Nome, std::cerr);
    }

    std::vector<std::string> Quais;
    std::string Erro;
    if (!EmpresasDaExportacao(O, C.Empresas, Quais, Erro)) {
        std::cerr << "cfkovan-dados: " << Erro << '\n';
        return SaidaFalha;
    }
    std::ofstream Arquivo;
    const bool ParaArquivo = !O.Saida.empty();
    if (ParaArquivo && !AbreSaida(O.Saida, Arquivo))
        return SaidaFalha;
    std::ostream& Saida = ParaArquivo ? static_cast<std::ostream&>(Arquivo) : std::cout;
    C.Utf8 = !ParaArquivo && isatty(STDOUT_FILENO) && Utf8;
    const std::size_t Linhas = Bins ? ExportaBins(C, Quais, Saida) : ExportaTransHab(C, Quais, Saida);
    Saida.flush();
    if (!Saida) {
        std::cerr << "cfkovan-dados: writing the export failed\n";
        return SaidaFalha;
    }
    std::cerr << "exported " << Plural(Linhas, "line", "lines") << '\n';
    return SaidaOk;
}

int Verifica(const TOpcoes& O, const std::string& Raiz, bool Utf8)
{
    const std::vector<TAchado> Achados = VerificaRaiz(Raiz);
    const bool Converte = isatty(STDOUT_FILENO) && Utf8;
    for (const TAchado& A : Achados) {
        if (O.Json)
            std::cout << nlohmann::json{{"file", Cp1252ParaUtf8(A.Arquivo)},
                                        {"finding", A.Tipo},
                                        {"message", Cp1252ParaUtf8(A.Texto)}}
                             .dump()
                      << '\n';
        else
            std::cout << ParaTerminal(A.Arquivo + ": " + A.Texto, Converte) << '\n';
    }
    std::cout.flush();
    std::cerr << "verifica: " << Plural(Achados.size(), "finding", "findings") << " in " << CaminhoLocal(Raiz) << '\n';
    return Achados.empty() ? SaidaOk : SaidaFalha;
}

} // namespace

int main(int Argc, char** Argv)
{
    setlocale(LC_ALL, "");
    TOpcoes O;
    std::string Erro;
    if (!LeOpcoes(Argc, Argv, O, Erro)) {
        std::cerr << "cfkovan-dados: " << Erro << "\nTry 'cfkovan-dados --help'.\n";
        return SaidaFalha;
    }
    if (O.Comando == "help") {
        std::cout << Ajuda;
        return SaidaOk;
    }
    Application().Title = "cfkovan-dados";
    LocalizaCfKovan(O.PastaConfig, "cfkovan-dados");
    // Without CfKovan.ini the module would fall back to the root "\Kovan", and under a root that does
    // not exist it would start a new tree: say so instead of touching a server that was never named.
    const std::string Raiz = RaizDoServidor(true, Erro);
    if (Raiz.empty()) {
        std::cerr << "cfkovan-dados: " << Erro << '\n';
        return SaidaFalha;
    }

    if (O.Comando == "bins" || O.Comando == "transacoes")
        return Tabelas(O, Raiz, TerminalUtf8());
    if (O.Comando == "verifica")
        return Verifica(O, Raiz, TerminalUtf8());

    TContextoPerguntas Perguntas{O.Resposta, isatty(STDIN_FILENO) != 0, TerminalUtf8(), 0, {}};
    KovanSetMessageBoxHandler(RespondeCaixa, &Perguntas);
    try {
        TModuloRede Modulo(O.Modulo.empty() ? TModuloRede::CaminhoPadrao() : O.Modulo);
        auto DadosEmpresa = Modulo.Funcao<TDadosEmpresa>("DadosEmpresa");
        if (O.Comando == "import")
            return Importa(DadosEmpresa, Raiz, O, Perguntas);
        if (O.Comando == "erase")
            return Apaga(DadosEmpresa, Raiz, O, Perguntas.TerminalUtf8);
        return Exporta(DadosEmpresa, O, Perguntas.TerminalUtf8);
    } catch (const std::exception& Falha) {
        std::cerr << "cfkovan-dados: " << Falha.what() << '\n';
        return SaidaFalha;
    }
}
