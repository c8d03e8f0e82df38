// cfkovan: the configurator. It loads a network module as the server's configurator does, lists the
// screens of the module descriptor and opens them by class name, and answers the notifications the
// screens send through callback entry 0.
#include "host/Acesso.h"
#include "host/Argumentos.h"
#include "host/Configurador.h"
#include "host/Modulo.h"
#include "host/RaizServidor.h"
#include "module/info.h"
#include "platform/Cp1252.h"
#include "runtime/Application.h"
#include "runtime/Classes.h"
#include "runtime/Forms.h"
#include "runtime/Texto.h"

#include <QApplication>
#include <QFont>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

/// Reports a failure that stops the program: on standard error, and also in a message box when no one
/// reads standard error (started from the desktop menu) and a display is there to show it on.
int Falha(int Argc, char** Argv, const std::string& Texto)
{
    std::cerr << "cfkovan: " << Texto << '\n';
    const char* Plataforma = std::getenv("QT_QPA_PLATFORM");
    const bool SemTela = Plataforma && (std::strncmp(Plataforma, "offscreen", 9) == 0 ||
                                        std::strncmp(Plataforma, "minimal", 7) == 0);
    if (isatty(STDERR_FILENO) || SemTela || (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")))
        return 2;
    std::unique_ptr<QApplication> App;
    if (!QApplication::instance())
        App = std::make_unique<QApplication>(Argc, Argv);
    QMessageBox::critical(nullptr, "cfkovan", QString::fromStdString(Texto));
    return 2;
}

const char* const Ajuda = R"(Usage: cfkovan [OPTIONS]

The configurator: loads a network module, lists its screens and opens them.

Options:
  --config-dir DIR    the folder holding CfKovan.ini, whose [config] raiz names the server root
                      (default: see Files below)
  --module FILE       the module library (default: see Files below)
  --level 2           view only for this run (no option gives more than Privileges below)
  --mode D            the host mode digit given to each screen: 0 normal, 2 view only, 8 fixed company
  --list              print the user, level and its origin, then the module's screens (caption
                      and class, a tab between), and exit
  --open CLASS        open the screen of that class at start
  --screenshot FILE   write a PNG of the open screen (or of the list) and exit
  -h, --help          show this text

Files:
  CfKovan.ini         the one in the --config-dir folder; else the first found: beside this
                      program, in )" KOVAN_PASTA_CFKOVAN_SISTEMA R"(
  libcfMirabelo.so    the --module file; else the first found: beside this program, in
                      )" KOVAN_PASTA_MODULOS R"( from this program's folder

Privileges:
  The level handed to the module comes from the user running cfkovan: 0 (full rights) when the
  user may write the server root's config folder and the module's files under it (Mirabelo.ini,
  empresas and each company's folder and Mirabelo.ini), 2 (view only) when the user may only
  read them; a user who may not read them is told so and nothing opens (status 2). Members of
  a group named in CfKovan.ini [acesso] consulta=GROUP[,GROUP...] only view.
)";

struct TOpcoes {
    std::string PastaConfig, Modulo, Abrir, Foto;
    std::optional<std::uint16_t> Nivel;
    char Modo = '0';
    bool Listar = false;
};

// Time a screen is given to show and settle before its picture is taken.
constexpr int Assentamento = 300;

bool LeOpcoes(int Argc, char** Argv, TOpcoes& O, std::string& Erro)
{
    std::string Nivel, Modo;
    const TOpcaoComValor ComValor[] = {{"--config-dir", &O.PastaConfig}, {"--module", &O.Modulo}, {"--open", &O.Abrir},
                                       {"--screenshot", &O.Foto},         {"--level", &Nivel},     {"--mode", &Modo}};
    for (int I = 1; I < Argc; ++I) {
        const std::string A = Argv[I];
        if (LeOpcaoComValor(ComValor, Argc, Argv, I, Erro)) {
            if (!Erro.empty())
                return false;
        } else if (A == "-h" || A == "--help") {
            std::cout << Ajuda;
            std::exit(0);
        } else if (A == "--list") {
            O.Listar = true;
        } else {
            Erro = "unknown argument " + A;
            return false;
        }
    }
    if (!Nivel.empty()) {
        if (Nivel != "0" && Nivel != "2") {
            Erro = "--level takes 0 (full rights) or 2 (view only)";
            return false;
        }
        O.Nivel = static_cast<std::uint16_t>(Nivel[0] - '0');
    }
    if (!Modo.empty()) {
        if (Modo.size() != 1) {
            Erro = "--mode takes one character (0, 2 or 8)";
            return false;
        }
        O.Modo = Modo[0];
    }
    return true;
}

int Executa(int Argc, char** Argv, const TOpcoes& O, const TNivel& Nivel)
{
    TModuloRede Modulo(O.Modulo.empty() ? TModuloRede::CaminhoPadrao() : O.Modulo);
    auto Info = std::make_unique<TInfoModulo>();
    Modulo.Funcao<void (*)(TInfoModulo*)>("ObtemInformacoes")(Info.get());
    const std::vector<TTela> Telas = TelasDoDescritor(*Info);
    if (O.Listar) {
        std::cout << DescreveNivel(Nivel) << '\n';
        for (const TTela& Tela : Telas)
            std::cout << Cp1252ParaUtf8(Tela.Legenda) << '\t' << Tela.Classe << '\n';
        return 0;
    }

    QApplication App(Argc, Argv);
    // Screens laid out for MS Sans Serif keep their metrics with Liberation Sans.
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    const std::string Titulo(Info->Titulo, strnlen(Info->Titulo, sizeof Info->Titulo));
    Application().Title = Titulo;

    TConfigurador Janela(Telas, Titulo, O.Modo);
    Janela.MostraNivel(DescreveNivel(Nivel));
    TTabCallBack Tabela{};
    Tabela.NivelUsuario = Nivel.Nivel;
    Tabela.CallBack0 = &TConfigurador::Notificacao;
    Modulo.Funcao<void (*)(const TTabCallBack*)>("CallBackInformacoes")(&Tabela);

    Janela.show();
    int Saida = 0;
    bool Terminou = false;
    if (!O.Foto.empty()) {
        // The picture is taken once the screen has shown and handled what it posted to itself (armed
        // first: a screen may open a message box while it shows).
        QTimer::singleShot(Assentamento, [&] {
            const std::vector<TForm*> Abertas = Janela.Abertas();
            QWidget* Alvo = Abertas.empty() ? static_cast<QWidget*>(&Janela) : Abertas.front();
            if (!Alvo->grab().save(QString::fromStdString(O.Foto), "PNG")) {
                std::cerr << "cfkovan: cannot write " << O.Foto << '\n';
                Saida = 2;
            }
            Terminou = true;
            QCoreApplication::exit(Saida);
        });
    }
    if (!O.Abrir.empty() && !Janela.Abre(O.Abrir)) {
        Saida = Falha(Argc, Argv, "the module has no screen class " + O.Abrir);
    } else if (!Terminou) {
        App.exec();
    }

    // The module's forms go before the module does.
    Janela.FechaTodas();
    return Saida;
}

} // namespace

int main(int Argc, char** Argv)
{
    TOpcoes O;
    std::string Erro;
    if (!LeOpcoes(Argc, Argv, O, Erro)) {
        std::cerr << "cfkovan: " << Erro << "\nTry 'cfkovan --help'.\n";
        return 2;
    }
    LocalizaCfKovan(O.PastaConfig, "cfkovan");
    // The level comes from what the user may do under the server root, found before any screen.
    const std::string Raiz = RaizDoServidor(false, Erro);
    if (Raiz.empty())
        return Falha(Argc, Argv, Erro);
    const TAcessoArquivos Acesso = AcessoAosArquivos(Raiz);
    if (Acesso.Direito == TDireito::Nenhum)
        return Falha(Argc, Argv, "user " + UsuarioEfetivo() + " may not read " + Acesso.Caminho + ": " +
                                     std::strerror(Acesso.Erro));
    const TNivel Nivel = NivelDoUsuario(Acesso, LeCfKovan("acesso", "consulta"), O.Nivel);
    for (const std::string& Aviso : Nivel.Avisos)
        std::cerr << "cfkovan: " << Aviso << '\n';
    try {
        return Executa(Argc, Argv, O, Nivel);
    } catch (const std::exception& Excecao) {
        return Falha(Argc, Argv, Excecao.what());
    }
}
