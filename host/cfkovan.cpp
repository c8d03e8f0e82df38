// cfkovan: the configurator. It loads a network module as the server's configurator does, lists the
// screens of the module descriptor and opens them by class name, and answers the notifications the
// screens send through callback entry 0.
#include "host/Argumentos.h"
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
#include <QListWidget>
#include <QMainWindow>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <cstring>
#include <iostream>
#include <vector>

namespace {

const char* const Ajuda = R"(Usage: cfkovan [OPTIONS]

The configurator: loads a network module, lists its screens and opens them.

Options:
  --config-dir DIR    the folder holding CfKovan.ini, whose [config] raiz names the server root
                      (default: the folder of this program)
  --module FILE       the module library (default: libcfMirabelo.so beside this program)
  --level N           privilege level of the user (0 to 65535; 2 may only view)
  --mode D            the host mode digit given to each screen: 0 normal, 2 view only, 8 fixed company
  --list              print the module's screens (caption and class) and exit
  --open CLASS        open the screen of that class at start
  --screenshot FILE   write a PNG of the open screen (or of the list) and exit
  -h, --help          show this text
)";

struct TOpcoes {
    std::string PastaConfig, Modulo, Abrir, Foto;
    std::uint16_t Nivel = 0;
    char Modo = '0';
    bool Listar = false;
};

// What the host remembers between notifications: the selection the screens report and ask back for.
struct TEstadoHost {
    std::string Empresa = "00000000";
    std::string Grupo;
    std::string ModoSelecao = "1";
    std::string ValorHost = "0";
    char DigitoModo = '0';
    QStatusBar* Barra = nullptr;
};
TEstadoHost Estado;

// A reply overwrites the preset text, never more characters than it holds.
void Responde(char* Texto, const std::string& Valor)
{
    const std::size_t Cabe = std::strlen(Texto);
    std::memcpy(Texto, Valor.data(), std::min(Cabe, Valor.size()));
}

void Notificacao(std::int32_t, std::int32_t Codigo, char* Texto)
{
    switch (Codigo) {
    case NotificaDica:
        if (Estado.Barra)
            Estado.Barra->showMessage(QStringDeCp1252(Texto));
        break;
    case NotificaEmpresaEscolhida: Estado.Empresa = Texto; break;
    case PerguntaEmpresaHost: Responde(Texto, Estado.Empresa); break;
    case PerguntaModoHost: Responde(Texto, std::string(1, Estado.DigitoModo)); break;
    case NotificaGrupoEscolhido: Estado.Grupo = Texto; break;
    case PerguntaGrupoHost:
        if (!Estado.Grupo.empty())
            Responde(Texto, Estado.Grupo);
        break;
    case PerguntaModoSelecao: Responde(Texto, Estado.ModoSelecao); break;
    case NotificaModoSelecao: Estado.ModoSelecao = Texto; break;
    case PerguntaValorHost: Responde(Texto, Estado.ValorHost); break;
    default: break;  // the screen closed or was shown, a valid choice: nothing to answer
    }
}

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
        char* Fim = nullptr;
        const long N = std::strtol(Nivel.c_str(), &Fim, 10);
        if (*Fim || N < 0 || N > 65535) {
            Erro = "--level takes a number from 0 to 65535";
            return false;
        }
        O.Nivel = static_cast<std::uint16_t>(N);
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

struct TTela {
    std::string Legenda, Classe;
};

std::vector<TTela> TelasDoDescritor(const TInfoModulo& Info)
{
    std::vector<TTela> Telas;
    const std::size_t Quantas = std::min<std::size_t>(Info.QtdTelas, std::size(Info.Telas));
    for (std::size_t I = 0; I < Quantas; ++I)
        Telas.push_back({std::string(Info.Telas[I].Legenda, strnlen(Info.Telas[I].Legenda, sizeof Info.Telas[I].Legenda)),
                         std::string(Info.Telas[I].ClasseForm, strnlen(Info.Telas[I].ClasseForm, sizeof Info.Telas[I].ClasseForm))});
    return Telas;
}

int Executa(int Argc, char** Argv, const TOpcoes& O)
{
    TModuloRede Modulo(O.Modulo.empty() ? TModuloRede::CaminhoPadrao() : O.Modulo);
    auto Info = std::make_unique<TInfoModulo>();
    Modulo.Funcao<void (*)(TInfoModulo*)>("ObtemInformacoes")(Info.get());
    const std::vector<TTela> Telas = TelasDoDescritor(*Info);
    if (O.Listar) {
        for (const TTela& Tela : Telas)
            std::cout << Cp1252ParaUtf8(Tela.Legenda) << '\t' << Tela.Classe << '\n';
        return 0;
    }

    TTabCallBack Tabela{};
    Tabela.NivelUsuario = O.Nivel;
    Tabela.CallBack0 = Notificacao;
    Modulo.Funcao<void (*)(const TTabCallBack*)>("CallBackInformacoes")(&Tabela);

    QApplication App(Argc, Argv);
    // Screens laid out for MS Sans Serif keep their metrics with Liberation Sans.
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    const std::string Titulo(Info->Titulo, strnlen(Info->Titulo, sizeof Info->Titulo));
    Application().Title = Titulo;

    QMainWindow Janela;
    Janela.setWindowTitle(QStringDeCp1252(Titulo));
    auto* Lista = new QListWidget(&Janela);
    for (const TTela& Tela : Telas)
        Lista->addItem(QStringDeCp1252(Tela.Legenda));
    Janela.setCentralWidget(Lista);
    Estado.Barra = Janela.statusBar();
    Estado.DigitoModo = O.Modo;
    Janela.resize(420, 260);

    std::vector<QPointer<TForm>> Abertas;
    auto Abre = [&](const std::string& Classe) -> TForm* {
        TForm* Form = CriaFormPorNome(Classe, nullptr);
        if (!Form) {
            Janela.statusBar()->showMessage(QStringLiteral("No screen class %1").arg(QString::fromStdString(Classe)));
            return nullptr;
        }
        Form->setAttribute(Qt::WA_DeleteOnClose);
        Abertas.emplace_back(Form);
        Form->show();
        return Form;
    };
    QObject::connect(Lista, &QListWidget::itemActivated, [&](QListWidgetItem* Item) {
        Abre(Telas.at(static_cast<std::size_t>(Lista->row(Item))).Classe);
    });

    Janela.show();
    TForm* Inicial = O.Abrir.empty() ? nullptr : Abre(O.Abrir);
    int Saida = 0;
    if (!O.Abrir.empty() && !Inicial) {
        std::cerr << "cfkovan: the module has no screen class " << O.Abrir << '\n';
        Saida = 2;
    } else if (!O.Foto.empty()) {
        QTimer::singleShot(0, [&] {
            QWidget* Alvo = Inicial ? static_cast<QWidget*>(Inicial) : &Janela;
            if (!Alvo->grab().save(QString::fromStdString(O.Foto), "PNG")) {
                std::cerr << "cfkovan: cannot write " << O.Foto << '\n';
                Saida = 2;
            }
            App.quit();
        });
        App.exec();
    } else {
        App.exec();
    }

    // The module's forms go before the module does.
    for (QPointer<TForm>& Form : Abertas)
        delete Form.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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
    if (!O.PastaConfig.empty())
        Application().SetExeName(O.PastaConfig + "/cfkovan");
    // The screens read and write under the server root; listing them touches no file.
    if (!O.Listar && RaizDoServidor(false, Erro).empty()) {
        std::cerr << "cfkovan: " << Erro << '\n';
        return 2;
    }
    try {
        return Executa(Argc, Argv, O);
    } catch (const std::exception& Falha) {
        std::cerr << "cfkovan: " << Falha.what() << '\n';
        return 2;
    }
}
