// cfkovan-dados: the company data exchange of a network module, from a shell or a script. It loads the
// module as the configurator does and hands it the same requests the configurator would.
#include "host/Argumentos.h"
#include "host/Modulo.h"
#include "module/info.h"
#include "platform/Cp1252.h"
#include "platform/Files.h"
#include "runtime/Application.h"
#include "runtime/Dialogs.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <langinfo.h>
#include <limits>
#include <locale.h>
#include <sstream>
#include <unistd.h>
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

Options:
  --config-dir DIR    the folder holding CfKovan.ini, whose [config] raiz names the server root
                      (default: the folder of this program; without that file nothing is done)
  --module FILE       the module library (default: libcfMirabelo.so beside this program)
  -o, --output FILE   write the export to FILE instead of standard output
  --yes               answer Yes to every question of the import (skip the entry, go on)
  --no                answer No to every question of the import (stop the import there)
  -h, --help          show this text

Files hold one "company;code" line per company in code page 1252 (Windows Latin 1); what is
shown on a terminal is converted to the terminal's encoding. On a single-company server every
command works on company 00000000.

Without --yes or --no the questions are asked at the terminal; with no terminal to ask, the
answer is No.

Exit status: 0 done; 1 the import was stopped by a No; 2 failure (usage, module, files).
)";

enum class TResposta { Perguntar, Sim, Nao };

struct TOpcoes {
    std::string PastaConfig;
    std::string Modulo;
    std::string Saida;
    TResposta Resposta = TResposta::Perguntar;
    std::string Comando;
    std::string Argumento;
};

struct TContextoPerguntas {
    TResposta Resposta;
    bool PodePerguntar;
    bool TerminalUtf8;
    int Nao = 0;
};

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
        } else if (A.size() > 1 && A[0] == '-' && A != "--all") {
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
bool MontaLista(std::istream& Entrada, bool ConverteDoTerminal, std::string& Lista, int& Entradas, std::string& Erro)
{
    std::string Linha;
    int Numero = 0;
    Entradas = 0;
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
        ++Entradas;
    }
    Lista += '\0';
    if (Lista.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        Erro = "the file is too large";
        return false;
    }
    return true;
}

TDadosCfg Pedido(std::uint16_t Operacao, const std::string& Empresa)
{
    TDadosCfg Dados;
    std::memset(&Dados, 0, sizeof Dados);
    Dados.Operacao = Operacao;
    std::strncpy(Dados.CodEmpresa, Empresa.c_str(), sizeof Dados.CodEmpresa - 1);
    return Dados;
}

int Exporta(void (*DadosEmpresa)(TDadosCfg*), const TOpcoes& O, bool Utf8)
{
    const std::uint16_t Operacao = O.Comando == "export-all" ? 3 : 0;
    std::vector<char> Buffer(64 * 1024);
    TDadosCfg Dados;
    for (;;) {
        Dados = Pedido(Operacao, O.Argumento);
        Dados.TamBuffer = static_cast<std::int32_t>(Buffer.size());
        Dados.Buffer = Buffer.data();
        DadosEmpresa(&Dados);
        if (Dados.Resultado != -1 || Buffer.size() >= (1u << 30))
            break;
        Buffer.assign(Buffer.size() * 4, 0);  // the module says the buffer was too small
    }
    if (Dados.Resultado < 0) {
        std::cerr << "cfkovan-dados: export failed (result " << Dados.Resultado << ")\n";
        return SaidaFalha;
    }
    std::ofstream Arquivo;
    const bool ParaArquivo = !O.Saida.empty();
    if (ParaArquivo) {
        Arquivo.open(O.Saida, std::ios::binary | std::ios::trunc);
        if (!Arquivo) {
            std::cerr << "cfkovan-dados: cannot write " << O.Saida << ": " << std::strerror(errno) << '\n';
            return SaidaFalha;
        }
    }
    std::ostream& Saida = ParaArquivo ? static_cast<std::ostream&>(Arquivo) : std::cout;
    const bool Converte = !ParaArquivo && isatty(STDOUT_FILENO) && Utf8;
    const char* Pos = Buffer.data();
    for (int I = 0; I < Dados.Resultado; ++I) {
        const std::string Entrada(Pos);
        Saida << (Converte ? Cp1252ParaUtf8(Entrada) : Entrada) << '\n';
        Pos += Entrada.size() + 1;
    }
    Saida.flush();
    if (!Saida) {
        std::cerr << "cfkovan-dados: writing the export failed\n";
        return SaidaFalha;
    }
    std::cerr << "exported " << Dados.Resultado << (Dados.Resultado == 1 ? " entry\n" : " entries\n");
    return SaidaOk;
}

int Importa(void (*DadosEmpresa)(TDadosCfg*), const TOpcoes& O, TContextoPerguntas& Perguntas)
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
    int Entradas = 0;
    const bool Converte = DaEntrada && isatty(STDIN_FILENO) && Perguntas.TerminalUtf8;
    if (!MontaLista(DaEntrada ? std::cin : Arquivo, Converte, Lista, Entradas, Erro)) {
        std::cerr << "cfkovan-dados: " << O.Argumento << ": " << Erro << '\n';
        return SaidaFalha;
    }
    if (DaEntrada) {
        std::cin.clear();
        Perguntas.PodePerguntar = false;  // standard input held the list
    }
    TDadosCfg Dados = Pedido(1, "");
    Dados.TamBuffer = static_cast<std::int32_t>(Lista.size());
    Dados.Buffer = Lista.data();
    DadosEmpresa(&Dados);
    if (Perguntas.Nao > 0) {
        std::cerr << "import stopped; " << Entradas << " entries read\n";
        return SaidaInterrompida;
    }
    std::cerr << "imported " << Entradas << (Entradas == 1 ? " entry" : " entries") << " (result " << Dados.Resultado
              << ")\n";
    return SaidaOk;
}

int Apaga(void (*DadosEmpresa)(TDadosCfg*), const TOpcoes& O)
{
    TDadosCfg Dados = Pedido(2, O.Argumento == "--all" ? "" : O.Argumento);
    DadosEmpresa(&Dados);
    if (Dados.Resultado < 0) {
        std::cerr << "cfkovan-dados: erase failed (result " << Dados.Resultado << ")\n";
        return SaidaFalha;
    }
    std::cerr << "erased the code of " << Dados.Resultado << (Dados.Resultado == 1 ? " company\n" : " companies\n");
    return SaidaOk;
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
    if (!O.PastaConfig.empty())
        Application().SetExeName(O.PastaConfig + "/cfkovan-dados");
    // Without CfKovan.ini the module would fall back to the root "\Kovan": say so instead of
    // reading or writing a server that was never named.
    const std::string Exe = Application().ExeName();
    const std::string Ini = Exe.substr(0, Exe.find_last_of('/') + 1) + "CfKovan.ini";
    if (!FileExists(Ini)) {
        std::cerr << "cfkovan-dados: no " << Ini << " names the server root; use --config-dir\n";
        return SaidaFalha;
    }

    TContextoPerguntas Perguntas{O.Resposta, isatty(STDIN_FILENO) != 0, TerminalUtf8()};
    KovanSetMessageBoxHandler(RespondeCaixa, &Perguntas);
    try {
        TModuloRede Modulo(O.Modulo.empty() ? TModuloRede::CaminhoPadrao() : O.Modulo);
        auto DadosEmpresa = Modulo.Funcao<void (*)(TDadosCfg*)>("DadosEmpresa");
        if (O.Comando == "import")
            return Importa(DadosEmpresa, O, Perguntas);
        if (O.Comando == "erase")
            return Apaga(DadosEmpresa, O);
        return Exporta(DadosEmpresa, O, Perguntas.TerminalUtf8);
    } catch (const std::exception& Falha) {
        std::cerr << "cfkovan-dados: " << Falha.what() << '\n';
        return SaidaFalha;
    }
}
